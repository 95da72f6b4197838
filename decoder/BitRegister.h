#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace seaherald {

// The last 133 received bits, newest at index 0. Characters are read at positions counted back
// from the newest: position p of an n-bit character spans bits n*p .. n*p+n-1.
class BitRegister {
 public:
  static constexpr int Length = 133;
  static constexpr int EnglishBits = 7;
  static constexpr int JapaneseBits = 10;

  void Push(std::uint8_t bit);
  void Invert();
  std::uint8_t Bit(int index) const { return bits_[index]; }

  // The n-bit character at a position as a number whose most significant bit is the one
  // received first. For English characters this is the character code.
  int Character(int bitsPerCharacter, int position) const;
  int EnglishCode(int position) const { return Character(EnglishBits, position); }

  // Japanese characters: 7 data bits (first received is the least significant) and a 3-bit
  // count of the data bits that are 0 (first received is the most significant).
  int JapaneseData(int position) const;
  int JapaneseCheck(int position) const;
  bool JapaneseValid(int position) const;

 private:
  std::array<std::uint8_t, Length> bits_{};
};

// A character given as its bits in the order of reception, e.g. "1111000" is English code 120.
constexpr int CharacterFromReception(std::string_view bits) {
  int value = 0;
  for (char bit : bits)
    value = value * 2 + (bit == '1' ? 1 : 0);
  return value;
}

int OneBits(int value);

}  // namespace seaherald
