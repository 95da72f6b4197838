#include "msglog/MessageSelection.h"

#include <algorithm>

namespace seaherald {
namespace {

constexpr unsigned char kFullWidthLead = 0x82;
constexpr unsigned char kFullWidthA = 0x60;     // "Ａ" is 0x82 0x60
constexpr unsigned char kFullWidthZero = 0x4F;  // "０" is 0x82 0x4F

// The ASCII form of a full-width letter or digit; 0 for anything else.
char AsciiOfFullWidth(unsigned char lead, unsigned char trail) {
  if (lead != kFullWidthLead) return 0;
  if (trail >= kFullWidthA && trail < kFullWidthA + 26)
    return static_cast<char>('A' + trail - kFullWidthA);
  if (trail >= kFullWidthZero && trail < kFullWidthZero + 10)
    return static_cast<char>('0' + trail - kFullWidthZero);
  return 0;
}

bool Contains(std::string_view set, char letter) {
  return set.find(letter) != std::string_view::npos;
}

}  // namespace

std::optional<HeaderLetters> LettersOfHeader(std::string_view header) {
  std::string ascii;
  const bool fullWidth = !header.empty() && static_cast<unsigned char>(header[0]) >= 0x80;
  if (!fullWidth) {
    ascii = std::string(header);
  } else {
    if (header.size() % 2 != 0) return std::nullopt;
    for (std::size_t i = 0; i < header.size(); i += 2) {
      const char c = AsciiOfFullWidth(static_cast<unsigned char>(header[i]),
                                      static_cast<unsigned char>(header[i + 1]));
      if (c == 0) return std::nullopt;
      ascii += c;
    }
  }
  if (ascii.size() < 4) return std::nullopt;
  return HeaderLetters{ascii[0], ascii[1], ascii.substr(2)};
}

bool MessageSelection::Takes(std::string_view header) const {
  const std::optional<HeaderLetters> letters = LettersOfHeader(header);
  if (!letters) return true;  // not a header this receiver can judge: never lost
  // The station choice says where the ship is, so it holds for every message.
  if (!stations.empty() && !Contains(stations, letters->station)) return false;
  const bool serialZero = letters->serial.find_first_not_of('0') == std::string::npos;
  return serialZero || types.empty() || Contains(types, letters->type) ||
         Contains(kMandatoryTypes, letters->type);
}

bool RaisesAlarm(std::string_view header, std::string_view alarmTypes) {
  const std::optional<HeaderLetters> letters = LettersOfHeader(header);
  if (!letters) return false;
  return Contains(kMandatoryAlarmTypes, letters->type) || Contains(alarmTypes, letters->type);
}

std::optional<std::string> ParseLetterSet(std::string_view text) {
  std::string letters;
  for (char c : text) {
    if (c == ' ' || c == ',') continue;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return std::nullopt;
    if (!Contains(letters, c)) letters += c;
  }
  std::sort(letters.begin(), letters.end());
  return letters;
}

}  // namespace seaherald
