#include "platform/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace seaherald {
namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);  // iconv_open's failure value
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

iconv_t OpenDescriptor(const char* to, const char* from) {
  const iconv_t descriptor = iconv_open(to, from);
  if (descriptor == kNoDescriptor) {
    // Only EINVAL means the conversion is unknown; out of descriptors or memory is told as such.
    if (errno != EINVAL)
      throw std::runtime_error(std::string("iconv_open: ") + std::strerror(errno));
    throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  }
  return descriptor;
}

// Bytes of the UTF-8 sequence that starts with `lead`; an invalid lead counts as one byte.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Runs iconv over the whole input. When `replaceInvalid` is set, each input sequence that does
// not convert is skipped and "?" written in its place; otherwise the conversion fails.
std::optional<std::string> Convert(iconv_t descriptor, std::string_view input,
                                   bool replaceInvalid) {
  iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
  std::string output(input.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  std::size_t written = 0;
  while (inLeft > 0) {
    char* out = output.data() + written;
    std::size_t outLeft = output.size() - written;
    const std::size_t result = iconv(descriptor, &in, &inLeft, &out, &outLeft);
    written = output.size() - outLeft;
    if (result != kFailed) break;
    if (errno == E2BIG) {
      output.resize(output.size() * 2);
      continue;
    }
    if (!replaceInvalid) return std::nullopt;
    const std::size_t skip = std::min(inLeft, Utf8SequenceLength(static_cast<unsigned char>(*in)));
    in += skip;
    inLeft -= skip;
    if (written == output.size()) output.resize(output.size() * 2);
    output[written++] = '?';
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
  }
  output.resize(written);
  return output;
}

}  // namespace

CodePageConverter::CodePageConverter()
    : toUtf8_(OpenDescriptor("UTF-8", "CP932")), toCp932_(kNoDescriptor) {
  try {
    toCp932_ = OpenDescriptor("CP932", "UTF-8");
  } catch (...) {
    iconv_close(toUtf8_);
    throw;
  }
}

CodePageConverter::~CodePageConverter() {
  iconv_close(toUtf8_);
  iconv_close(toCp932_);
}

std::optional<std::string> CodePageConverter::Utf8FromCp932(std::string_view cp932) const {
  if (IsAscii(cp932)) return std::string(cp932);
  return Convert(toUtf8_, cp932, false);
}

std::optional<std::string> CodePageConverter::Cp932FromUtf8(std::string_view utf8) const {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert(toCp932_, utf8, false);
}

std::string CodePageConverter::Cp932FromUtf8Lossy(std::string_view utf8) const {
  if (IsAscii(utf8)) return std::string(utf8);
  return *Convert(toCp932_, utf8, true);
}

std::optional<std::string> Utf8FromCp932(std::string_view cp932) {
  return CodePageConverter().Utf8FromCp932(cp932);
}

std::optional<std::string> Cp932FromUtf8(std::string_view utf8) {
  return CodePageConverter().Cp932FromUtf8(utf8);
}

std::string Cp932Text(std::string_view utf8) {
  std::optional<std::string> converted = Cp932FromUtf8(utf8);
  if (!converted) throw std::logic_error("text has no Shift-JIS form: " + std::string(utf8));
  return *std::move(converted);
}

}  // namespace seaherald
