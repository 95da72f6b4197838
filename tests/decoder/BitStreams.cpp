#include "tests/decoder/BitStreams.h"

#include <bit>
#include <stdexcept>
#include <string>

#include "decoder/CodeTables.h"

namespace seaherald::test {

Bits EnglishCharacter(int code) {
  Bits bits;
  for (int i = 6; i >= 0; --i)
    bits.push_back(static_cast<std::uint8_t>((code >> i) & 1));
  return bits;
}

Bits JapaneseCharacter(int data) {
  return JapaneseCharacter(data, 7 - std::popcount(static_cast<unsigned>(data)));
}

Bits JapaneseCharacter(int data, int check) {
  Bits bits;
  for (int i = 0; i < 7; ++i)
    bits.push_back(static_cast<std::uint8_t>((data >> i) & 1));
  for (int i = 2; i >= 0; --i)
    bits.push_back(static_cast<std::uint8_t>((check >> i) & 1));
  return bits;
}

std::vector<int> Interleaved(const std::vector<int>& text, int phasingPairs, int phasingDx,
                             int phasingRx) {
  const std::size_t first = static_cast<std::size_t>(phasingPairs);
  const std::size_t end = first + text.size();
  std::vector<int> dx(first, phasingDx);
  dx.insert(dx.end(), text.begin(), text.end());
  dx.insert(dx.end(), 2, phasingDx);
  std::vector<int> characters;
  for (std::size_t i = 0; i < dx.size(); ++i) {
    characters.push_back(dx[i]);
    // The RX copy in pair i repeats the DX of pair i - 2, five positions back.
    const bool copyDue = i >= first + 2 && i < end + 2;
    characters.push_back(copyDue ? dx[i - 2] : phasingRx);
  }
  return characters;
}

Bits EnglishBits(const std::vector<int>& characters) {
  Bits bits;
  for (int c : characters) {
    const Bits one = EnglishCharacter(c);
    bits.insert(bits.end(), one.begin(), one.end());
  }
  return bits;
}

Bits JapaneseBits(const std::vector<int>& characters) {
  Bits bits;
  for (int c : characters) {
    const Bits one = JapaneseCharacter(c);
    bits.insert(bits.end(), one.begin(), one.end());
  }
  return bits;
}

Bits Demodulated(Bits logical, bool english, bool inverted) {
  if (english == inverted) {
    for (std::uint8_t& bit : logical)
      bit = static_cast<std::uint8_t>(1 - bit);
  }
  return logical;
}

namespace {

int FindCode(const EnglishTable& table, char c) {
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (table[code].size() == 1 && table[code][0] == c) return code;
  }
  return -1;
}

}  // namespace

std::vector<int> EnglishCodes(std::string_view text) {
  std::vector<int> codes;
  bool figures = false;
  for (char c : text) {
    if (c == '\n') {
      codes.push_back(CarriageReturnCode);
      codes.push_back(LineFeedCode);
      continue;
    }
    const int letter = FindCode(LettersTable(), c);
    const int figure = FindCode(FiguresTable(), c);
    if (letter < 0 && figure < 0) throw std::invalid_argument(std::string("no code for ") + c);
    const bool inCurrent = (figures ? figure : letter) >= 0;
    if (!inCurrent) {
      figures = !figures;
      codes.push_back(figures ? FiguresShiftCode : LettersShiftCode);
    }
    codes.push_back(figures ? figure : letter);
  }
  return codes;
}

Bits Concatenated(std::initializer_list<Bits> parts) {
  Bits all;
  for (const Bits& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace seaherald::test
