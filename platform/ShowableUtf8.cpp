#include "platform/ShowableUtf8.h"

#include <optional>
#include <string_view>

namespace seaherald {
namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";
// Pointers of the user-defined area (lead bytes 0xF0-0xF9), mapped onto the private use area.
constexpr int UserDefinedFirstPointer = 8836;
constexpr int UserDefinedLastPointer = 10715;
constexpr char32_t PrivateUseFirst = 0xE000;
constexpr char32_t HalfWidthKatakanaFirst = 0xFF61;

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int PointerOf(unsigned char lead, unsigned char trail) {
  const int leadOffset = lead < 0xA0 ? 0x81 : 0xC1;
  const int trailOffset = trail < 0x7F ? 0x40 : 0x41;
  return (lead - leadOffset) * 188 + trail - trailOffset;
}

// The character a lead byte starts, appended to `out`; the bytes it took (a trail byte that is
// a character by itself is never taken by a pair that fails).
std::size_t DecodePair(const CodePageConverter& converter, std::string_view text, std::size_t at,
                       std::string& out) {
  if (at + 1 >= text.size()) {
    out += ReplacementCharacter;
    return 1;
  }
  const auto lead = static_cast<unsigned char>(text[at]);
  const auto trail = static_cast<unsigned char>(text[at + 1]);
  if (IsTrailByte(trail)) {
    const int pointer = PointerOf(lead, trail);
    if (pointer >= UserDefinedFirstPointer && pointer <= UserDefinedLastPointer) {
      AppendUtf8(out, PrivateUseFirst + static_cast<char32_t>(pointer - UserDefinedFirstPointer));
      return 2;
    }
    if (const std::optional<std::string> piece = converter.Utf8FromCp932(text.substr(at, 2))) {
      out += *piece;
      return 2;
    }
  }
  out += ReplacementCharacter;
  return trail < 0x80 ? 1 : 2;
}

}  // namespace

// Decodes as the WHATWG Encoding Standard's Shift_JIS decoder does, with the code page's own
// table for the two-byte characters.
std::string ShowableUtf8(const CodePageConverter& converter, const std::string& shiftJis) {
  if (std::optional<std::string> whole = converter.Utf8FromCp932(shiftJis)) return *whole;
  std::string utf8;
  for (std::size_t i = 0; i < shiftJis.size();) {
    const auto byte = static_cast<unsigned char>(shiftJis[i]);
    if (byte <= 0x80) {
      AppendUtf8(utf8, byte);
      ++i;
    } else if (byte >= 0xA1 && byte <= 0xDF) {
      AppendUtf8(utf8, HalfWidthKatakanaFirst + (byte - 0xA1));
      ++i;
    } else if (IsLeadByte(byte)) {
      i += DecodePair(converter, shiftJis, i, utf8);
    } else {
      utf8 += ReplacementCharacter;
      ++i;
    }
  }
  return utf8;
}

}  // namespace seaherald
