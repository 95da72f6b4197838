#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace seaherald::testsignal {

// Control codes of the English (SITOR-B) alphabet.
inline constexpr int EnglishCarriageReturn = 15;
inline constexpr int EnglishLineFeed = 27;
inline constexpr int EnglishSpace = 29;
inline constexpr int EnglishLettersShift = 45;
inline constexpr int EnglishFiguresShift = 54;
inline constexpr int EnglishPhasingDx = 51;   // sent in the DX positions while phasing
inline constexpr int EnglishPhasingRx = 120;  // sent in the RX positions while phasing
inline constexpr int EnglishCharacterLength = 7;

// One character of a coded message and the byte of the source text it stands for. Shift codes
// carry the offset of the character they precede.
struct CodedCharacter {
  int value = 0;
  std::size_t textOffset = 0;
  bool isShift = false;
};

// The seven bits of an English code in the order they are sent: the first bit is the most
// significant, so code 120 goes out as 1 1 1 1 0 0 0.
std::array<std::uint8_t, EnglishCharacterLength> EnglishCodeBits(int code);

// Codes for ASCII text: upper-case letters, the figures of the figures table, space, "\r" and "\n".
// A letters or figures shift goes out before the first character that needs one and whenever the
// shift changes. Throws std::invalid_argument for a character the alphabet cannot send.
std::vector<CodedCharacter> EncodeEnglishText(std::string_view text);

}  // namespace seaherald::testsignal
