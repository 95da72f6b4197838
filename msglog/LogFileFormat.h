#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/LocalClock.h"

namespace seaherald {

// The log file layout. Line 1 "Last received yyyy/mm/dd hh:mm:ss", line 2 "Detected %03d
// error", line 3 "-", then the message body; every line ends in CR LF. Readers rely on the
// fixed positions below (1-based, in bytes).
inline constexpr std::size_t kStampFirstChar = 15;  // line 1: date and time
inline constexpr std::size_t kStampLastChar = 33;
inline constexpr std::size_t kCaptionLastChar = 30;  // line 1: date and time without seconds
inline constexpr std::size_t kDateLastChar = 24;     // line 1: date only
inline constexpr std::size_t kCountFirstChar = 10;   // line 2: error count
inline constexpr std::size_t kCountLastChar = 12;
inline constexpr std::size_t kBodyFirstByte = 59;  // after the three header lines
inline constexpr int kUnreadableCount = 999;       // stored count of a file that won't open

// "yyyy/mm/dd hh:mm:ss".
std::string FormatStamp(const LocalDateTime& time);

// The whole content of a log file saved at `savedAt`.
std::string ComposeLogFile(const LocalDateTime& savedAt, int errorCount, std::string_view body);

// The number rule for stored counts: digits build the value left to right, a "-" anywhere
// makes it negative, any other byte makes the whole result 0; empty text gives 0.
int ParseCount(std::string_view chars);

// Characters `first` to `last` (1-based, inclusive) of `text`, as far as the text reaches.
std::string_view CharRange(std::string_view text, std::size_t first, std::size_t last);

// `text` cut to at most `limit` bytes without splitting a Shift-JIS double-byte character.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t limit);

// Bytes of the Shift-JIS character that starts at `text[at]`: 2 for a lead byte followed by
// a valid trail byte, else 1.
std::size_t ShiftJisCharLength(std::string_view text, std::size_t at);

}  // namespace seaherald
