#include "tests/support/JapaneseCode.h"

#include <bit>
#include <stdexcept>

namespace seaherald::testsignal {
namespace {

bool IsLeadByte(std::uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(std::uint8_t byte) {
  return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

}  // namespace

JisPair ShiftJisToJis(std::uint8_t lead, std::uint8_t trail) {
  if (!IsLeadByte(lead) || !IsTrailByte(trail)) {
    throw std::invalid_argument("not a Shift-JIS double-byte character");
  }
  // Undo the receiver's steps in reverse: the lead byte skips 0xA0..0xDF, the trail byte 0x7F, and
  // the trail byte range tells whether the first JIS value was odd or even.
  const int row = lead >= 0xE0 ? lead - 64 : lead;
  const int cell = trail >= 0x80 ? trail - 1 : trail;
  JisPair pair;
  if (cell >= 158) {
    pair = {(row - 112) * 2, cell - 125};
  } else {
    pair = {(row - 112) * 2 - 1, cell - 31};
  }
  if (pair.first < 0 || pair.first > 127 || pair.second < 0 || pair.second > 127) {
    throw std::invalid_argument("Shift-JIS character outside the 7-bit JIS range");
  }
  return pair;
}

std::array<std::uint8_t, JapaneseCharacterLength> JapaneseCharacterBits(int value) {
  if (value < 0 || value > 127) throw std::invalid_argument("Japanese value out of range");
  std::array<std::uint8_t, JapaneseCharacterLength> bits{};
  for (int i = 0; i < 7; ++i)
    bits[static_cast<std::size_t>(i)] = (value >> i) & 1;
  const int zeros = 7 - std::popcount(static_cast<unsigned>(value));
  bits[7] = (zeros >> 2) & 1;
  bits[8] = (zeros >> 1) & 1;
  bits[9] = zeros & 1;
  return bits;
}

std::vector<CodedCharacter> EncodeJapaneseText(std::string_view shiftJis) {
  std::vector<CodedCharacter> coded;
  for (std::size_t offset = 0; offset < shiftJis.size(); ++offset) {
    const auto byte = static_cast<std::uint8_t>(shiftJis[offset]);
    if (byte == '\r') {
      coded.push_back({JapaneseCarriageReturn, offset, false});
    } else if (byte == '\n') {
      coded.push_back({JapaneseLineFeed, offset, false});
    } else if (IsLeadByte(byte) && offset + 1 < shiftJis.size()) {
      const JisPair pair = ShiftJisToJis(byte, static_cast<std::uint8_t>(shiftJis[offset + 1]));
      coded.push_back({pair.first, offset, false});
      coded.push_back({pair.second, offset + 1, false});
      ++offset;
    } else {
      throw std::invalid_argument("no Japanese code for the byte at offset " +
                                  std::to_string(offset));
    }
  }
  return coded;
}

}  // namespace seaherald::testsignal
