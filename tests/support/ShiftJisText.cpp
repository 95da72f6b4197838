#include "tests/support/ShiftJisText.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <stdexcept>
#include <vector>

namespace seaherald::testsignal {
namespace {

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

std::string Convert(std::string_view text, const char* to, const char* from) {
  const iconv_t raw = iconv_open(to, from);
  if (raw == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert");
  const std::unique_ptr<void, IconvCloser> handle(raw);
  std::vector<char> input(text.begin(), text.end());
  std::vector<char> output(text.size() * 2 + 4);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  if (iconv(raw, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
    throw std::invalid_argument("text has no mapping between UTF-8 and CP932");
  }
  return std::string(output.data(), static_cast<std::size_t>(out - output.data()));
}

}  // namespace

std::string Utf8ToShiftJis(std::string_view utf8) {
  return Convert(utf8, "CP932", "UTF-8");
}

std::string ShiftJisToUtf8(std::string_view shiftJis) {
  return Convert(shiftJis, "UTF-8", "CP932");
}

}  // namespace seaherald::testsignal
