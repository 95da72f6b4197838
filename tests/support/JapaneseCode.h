#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/support/EnglishCode.h"

namespace seaherald::testsignal {

inline constexpr int JapaneseLineFeed = 10;
inline constexpr int JapaneseCarriageReturn = 13;
inline constexpr int JapanesePhasingDx = 25;  // sent in the DX positions while phasing
inline constexpr int JapanesePhasingRx = 4;   // sent in the RX positions while phasing
inline constexpr int JapaneseCharacterLength = 10;

struct JisPair {
  int first = 0;
  int second = 0;
  bool operator==(const JisPair&) const = default;
};

// The JIS X 0208 row/cell pair of a two-byte Shift-JIS character. Throws std::invalid_argument for
// a byte pair that is not a Shift-JIS double-byte character.
JisPair ShiftJisToJis(std::uint8_t lead, std::uint8_t trail);

// The ten bits of a Japanese character in the order they are sent: the seven data bits with the
// least significant first, then the number of data bits that are 0 as three bits, most
// significant first.
std::array<std::uint8_t, JapaneseCharacterLength> JapaneseCharacterBits(int value);

// 7-bit values for Shift-JIS text: every two-byte character becomes its JIS pair, "\r" and "\n"
// become 13 and 10. Single-byte characters other than those two have no code (the service sends
// Latin text full-width) and throw std::invalid_argument, as do truncated two-byte characters.
std::vector<CodedCharacter> EncodeJapaneseText(std::string_view shiftJis);

}  // namespace seaherald::testsignal
