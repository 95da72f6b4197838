#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace seaherald {

// Types taken whatever the user chooses: navigational warnings, meteorological warnings, search
// and rescue, and additional navigational warnings.
inline constexpr std::string_view kMandatoryTypes = "ABDL";
// Types that raise the alarm whatever the user adds: search and rescue.
inline constexpr std::string_view kMandatoryAlarmTypes = "D";

// The header's letters as ASCII, whether the header is single-byte (English service) or
// full-width (Japanese-language service): B1, B2 and the serial's digits.
struct HeaderLetters {
  char station = 0;
  char type = 0;
  std::string serial;
};
std::optional<HeaderLetters> LettersOfHeader(std::string_view header);

// Which messages the receiver takes, by station (B1) and type (B2). An empty set takes every
// letter. The station choice holds for every message; of the chosen stations the mandatory types
// and serial 00 (a message of vital importance) are always taken, whatever types are chosen.
struct MessageSelection {
  std::string stations;
  std::string types;

  bool Takes(std::string_view header) const;
  bool TakesEverything() const { return stations.empty() && types.empty(); }
};

// True when a message of this header raises the alarm: its type is D or one of `alarmTypes`.
bool RaisesAlarm(std::string_view header, std::string_view alarmTypes);

// A set of letters as the user writes it ("A B,e" or "ABE"): upper-case letters A to Z, each
// once, in alphabetical order. Nothing when anything else than letters, spaces and commas is
// given.
std::optional<std::string> ParseLetterSet(std::string_view text);

}  // namespace seaherald
