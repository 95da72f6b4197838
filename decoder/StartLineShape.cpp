#include "decoder/StartLineShape.h"

#include "decoder/MessageMarkers.h"

namespace seaherald {
namespace {

constexpr std::size_t EnglishHeaderBytes = 4;
constexpr std::size_t JapaneseHeaderCharacters = 5;
constexpr std::size_t JapaneseLetterCharacters = 2;
constexpr int JisRowThree = 0x23;
constexpr int JisSpaceHalf = 0x21;
constexpr int JapaneseCarriageReturn = 13;
constexpr int JapaneseLineFeed = 10;
// Shift-JIS of row 3: digits from 0x824F, letters from 0x8260.
constexpr unsigned char FullWidthLead = 0x82;
constexpr unsigned char FullWidthDigitZero = 0x4F;
constexpr unsigned char FullWidthDigitNine = 0x58;
constexpr unsigned char FullWidthLetterA = 0x60;
constexpr unsigned char FullWidthLetterZ = 0x79;

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

// What follows the last start marker, when the line holds one.
std::optional<std::string_view> AfterMarker(std::string_view line, std::string_view marker) {
  const std::size_t at = line.rfind(marker);
  if (at == std::string_view::npos) return std::nullopt;
  return line.substr(at + marker.size());
}

std::string_view MarkerLetters(bool english) {
  const std::string_view marker = english ? StartMarkerSingle : StartMarkerFull;
  return marker.substr(0, marker.size() - (english ? 1 : 2));
}

// Adds every code that prints `text` in `shift`.
void AddCodesPrinting(std::string_view text, Shift shift, std::bitset<128>& codes) {
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (EnglishEntry(shift, code) == text) codes.set(static_cast<std::size_t>(code));
  }
}

bool LetterPosition(std::size_t index, bool english) {
  return english ? index < 2 : index < JapaneseLetterCharacters;
}

// After the header's letters the figures shift; after its four characters the line end.
std::optional<std::bitset<128>> EnglishFixed(std::string_view header, Shift shift) {
  if (header.size() > EnglishHeaderBytes) return std::nullopt;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const auto c = static_cast<unsigned char>(header[i]);
    if (!(LetterPosition(i, true) ? InRange(c, 'A', 'Z') : InRange(c, '0', '9')))
      return std::nullopt;
  }
  std::bitset<128> codes;
  if (header.size() == EnglishHeaderBytes) {
    for (const int code : {CarriageReturnCode, LineFeedCode, LettersShiftCode, FiguresShiftCode})
      codes.set(static_cast<std::size_t>(code));
    return codes;
  }
  if (header.size() != 2 || shift != Shift::Letters) return std::nullopt;
  codes.set(FiguresShiftCode);
  return codes;
}

// Each header character begins with row 3; after five of them the line ends.
std::optional<std::bitset<128>> JapaneseFixed(std::string_view header, const LinePosition& at) {
  if (header.size() % 2 != 0) return std::nullopt;
  const std::size_t characters = header.size() / 2;
  if (characters > JapaneseHeaderCharacters) return std::nullopt;
  for (std::size_t i = 0; i < characters; ++i) {
    const auto lead = static_cast<unsigned char>(header[2 * i]);
    const auto trail = static_cast<unsigned char>(header[2 * i + 1]);
    const bool letter = InRange(trail, FullWidthLetterA, FullWidthLetterZ);
    const bool digit = InRange(trail, FullWidthDigitZero, FullWidthDigitNine);
    if (lead != FullWidthLead || !(letter || (digit && !LetterPosition(i, false))))
      return std::nullopt;
  }
  if (at.waitingJisValues != 0) return std::nullopt;
  std::bitset<128> values;
  if (characters == JapaneseHeaderCharacters) {
    values.set(JapaneseCarriageReturn);
    values.set(JapaneseLineFeed);
  } else {
    values.set(JisRowThree);
  }
  return values;
}

// The space that ends the start marker, when the line ends with the marker's letters.
std::optional<std::bitset<128>> MarkerSpace(std::string_view line, const LinePosition& at) {
  if (!line.ends_with(MarkerLetters(at.english))) return std::nullopt;
  std::bitset<128> codes;
  if (at.english) {
    codes.set(LettersShiftCode);
    codes.set(FiguresShiftCode);
    AddCodesPrinting(" ", at.shift, codes);
    return codes;
  }
  // Both halves of the full-width space are the first value of row 1.
  if (at.waitingJisValues != 0 && at.waitingJisValue != JisSpaceHalf) return std::nullopt;
  codes.set(JisSpaceHalf);
  return codes;
}

// A transmission's text begins with the start marker: its next letter, while the line holds a
// beginning of it.
std::optional<std::bitset<128>> MarkerLetter(std::string_view line, const LinePosition& at) {
  if (!at.transmissionStart || !BeforeMarkerEnd(line, at.english)) return std::nullopt;
  const std::string_view letters = MarkerLetters(at.english);
  std::bitset<128> codes;
  if (at.english) {
    codes.set(LettersShiftCode);
    if (at.shift == Shift::Letters)
      AddCodesPrinting(letters.substr(line.size(), 1), at.shift, codes);
    return codes;
  }
  if (line.size() % 2 != 0) return std::nullopt;
  if (at.waitingJisValues == 0) {
    codes.set(JisRowThree);
    return codes;
  }
  if (at.waitingJisValue != JisRowThree) return std::nullopt;
  // ＺＣＺＣ: Z is 0x5A and C 0x43 in row 3, as in ASCII.
  codes.set(static_cast<std::size_t>(line.size() % 4 == 0 ? 'Z' : 'C'));
  return codes;
}

}  // namespace

bool InHeader(std::string_view line, bool english) {
  const std::optional<std::string_view> header =
      AfterMarker(line, english ? StartMarkerSingle : StartMarkerFull);
  return header && header->size() < (english ? EnglishHeaderBytes : 2 * JapaneseHeaderCharacters);
}

bool BeforeMarkerEnd(std::string_view line, bool english) {
  const std::string_view letters = MarkerLetters(english);
  return line.size() < letters.size() && letters.starts_with(line);
}

std::optional<std::bitset<128>> StartLineFixedCodes(std::string_view line, const LinePosition& at) {
  if (auto letter = MarkerLetter(line, at)) return letter;
  if (auto space = MarkerSpace(line, at)) return space;
  const std::optional<std::string_view> header =
      AfterMarker(line, at.english ? StartMarkerSingle : StartMarkerFull);
  if (!header) return std::nullopt;
  return at.english ? EnglishFixed(*header, at.shift) : JapaneseFixed(*header, at);
}

}  // namespace seaherald
