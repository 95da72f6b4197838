#include "fuzz/support/Trace.h"

#include <cstdio>
#include <cstdlib>

namespace seaherald::fuzz {

bool TraceEnabled() {
  return std::getenv("SEAHERALD_FUZZ_TRACE") != nullptr;
}

void Trace(std::string_view what, std::string_view bytes) {
  if (!TraceEnabled()) return;
  std::fprintf(stderr, "%.*s: ", static_cast<int>(what.size()), what.data());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      std::fputc(byte, stderr);
    } else {
      std::fprintf(stderr, "\\x%02X", byte);
    }
  }
  std::fputc('\n', stderr);
}

}  // namespace seaherald::fuzz
