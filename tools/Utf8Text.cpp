#include "tools/Utf8Text.h"

#include <optional>
#include <string_view>

namespace seaherald::decodetool {
namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::string ShowableUtf8(const CodePageConverter& converter, const std::string& shiftJis) {
  if (std::optional<std::string> whole = converter.Utf8FromCp932(shiftJis)) return *whole;
  // Convert character by character and mark the ones that do not convert.
  std::string utf8;
  for (std::size_t i = 0; i < shiftJis.size();) {
    const bool pair =
        IsLeadByte(static_cast<unsigned char>(shiftJis[i])) && i + 1 < shiftJis.size();
    const std::size_t length = pair ? 2 : 1;
    const std::optional<std::string> piece = converter.Utf8FromCp932(shiftJis.substr(i, length));
    utf8 += piece ? *piece : std::string(ReplacementCharacter);
    i += length;
  }
  return utf8;
}

}  // namespace seaherald::decodetool
