#include "tests/support/EnglishCode.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace seaherald::testsignal {
namespace {

// The text characters of the alphabet: code, letters-shift character, figures-shift character
// ('\0' where the shift has no character).
struct TextCode {
  int code;
  char letter;
  char figure;
};

constexpr std::array<TextCode, 28> TextCodes{{
    {23, 'T', '5'},   {30, 'V', '='},  {39, 'B', '?'},   {46, 'X', '/'},  {53, 'E', '3'},
    {57, 'U', '7'},   {58, 'Q', '1'},  {60, 'K', '('},   {71, 'O', '9'},  {75, 'H', '\0'},
    {77, 'N', ','},   {78, 'M', '.'},  {83, 'L', ')'},   {85, 'R', '4'},  {86, 'G', '\0'},
    {89, 'I', '8'},   {90, 'P', '0'},  {92, 'C', ':'},   {99, 'Z', '+'},  {101, 'D', '\0'},
    {105, 'S', '\0'}, {106, 'Y', '6'}, {108, 'F', '\0'}, {113, 'A', '-'}, {114, 'W', '2'},
    {116, 'J', '\0'}, {29, ' ', ' '},  {43, ' ', ' '},
}};

enum class Shift { Letters, Figures };

struct ShiftedCode {
  int code;
  std::optional<Shift> shift;  // empty: the same in both shifts
};

ShiftedCode CodeForCharacter(char c) {
  if (c == '\r') return {EnglishCarriageReturn, std::nullopt};
  if (c == '\n') return {EnglishLineFeed, std::nullopt};
  if (c == ' ') return {EnglishSpace, std::nullopt};
  for (const TextCode& entry : TextCodes) {
    if (entry.letter == c) return {entry.code, Shift::Letters};
    if (entry.figure == c) return {entry.code, Shift::Figures};
  }
  throw std::invalid_argument("no English code for character '" + std::string(1, c) + "'");
}

}  // namespace

std::array<std::uint8_t, EnglishCharacterLength> EnglishCodeBits(int code) {
  if (code < 0 || code > 127) throw std::invalid_argument("English code out of range");
  std::array<std::uint8_t, EnglishCharacterLength> bits{};
  for (int i = 0; i < EnglishCharacterLength; ++i) {
    bits[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>((code >> (EnglishCharacterLength - 1 - i)) & 1);
  }
  return bits;
}

std::vector<CodedCharacter> EncodeEnglishText(std::string_view text) {
  std::vector<CodedCharacter> coded;
  std::optional<Shift> current;  // unknown at the start: the receiver may be in either shift
  for (std::size_t offset = 0; offset < text.size(); ++offset) {
    const ShiftedCode code = CodeForCharacter(text[offset]);
    if (code.shift && code.shift != current) {
      const int shiftCode =
          *code.shift == Shift::Letters ? EnglishLettersShift : EnglishFiguresShift;
      coded.push_back({shiftCode, offset, true});
      current = code.shift;
    }
    coded.push_back({code.code, offset, false});
  }
  return coded;
}

}  // namespace seaherald::testsignal
