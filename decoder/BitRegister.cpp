#include "decoder/BitRegister.h"

#include <algorithm>
#include <bit>

namespace seaherald {

void BitRegister::Push(std::uint8_t bit) {
  std::copy_backward(bits_.begin(), bits_.end() - 1, bits_.end());
  bits_[0] = bit;
}

void BitRegister::Invert() {
  for (std::uint8_t& bit : bits_)
    bit = static_cast<std::uint8_t>(1 - bit);
}

int BitRegister::Character(int bitsPerCharacter, int position) const {
  const int first = bitsPerCharacter * position;
  int value = 0;
  for (int i = bitsPerCharacter - 1; i >= 0; --i)
    value = value * 2 + bits_[first + i];
  return value;
}

int BitRegister::JapaneseData(int position) const {
  const int first = JapaneseBits * position + 3;
  int value = 0;
  for (int j = 0; j < 7; ++j)
    value = value * 2 + bits_[first + j];
  return value;
}

int BitRegister::JapaneseCheck(int position) const {
  const int first = JapaneseBits * position;
  return bits_[first] + 2 * bits_[first + 1] + 4 * bits_[first + 2];
}

bool BitRegister::JapaneseValid(int position) const {
  return OneBits(JapaneseData(position)) + JapaneseCheck(position) == 7;
}

int OneBits(int value) {
  return std::popcount(static_cast<unsigned>(value));
}

}  // namespace seaherald
