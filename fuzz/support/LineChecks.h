#pragma once

#include <string_view>

namespace seaherald::fuzz {

// What a decoded line may hold.

inline bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

inline bool IsPrintableAscii(char c) {
  return c >= 0x20 && c <= 0x7E;
}

// The bytes that the JIS-to-Shift-JIS arithmetic gives for any pair of 7-bit values: a first
// byte in 0x70-0x9F or 0xE0-0xF0, a second in 0x1F-0x7E or 0x80-0xFD.
inline bool IsJisPairResult(std::string_view pair) {
  if (pair.size() != 2) return false;
  const auto first = static_cast<unsigned char>(pair[0]);
  const auto second = static_cast<unsigned char>(pair[1]);
  const bool firstOk = (first >= 0x70 && first <= 0x9F) || (first >= 0xE0 && first <= 0xF0);
  const bool secondOk = (second >= 0x1F && second <= 0x7E) || (second >= 0x80 && second <= 0xFD);
  return firstOk && secondOk;
}

}  // namespace seaherald::fuzz
