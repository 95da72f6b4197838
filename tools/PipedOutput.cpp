#include "tools/PipedOutput.h"

#include <cerrno>

namespace seaherald::decodetool {

void PipedOutput::Put(std::string_view text) {
  if (gone_) return;
  if (std::fwrite(text.data(), 1, text.size(), out_) != text.size()) NoteFailure();
}

void PipedOutput::Flush() {
  if (gone_) return;
  if (std::fflush(out_) != 0) NoteFailure();
}

void PipedOutput::NoteFailure() {
  if (errno != EPIPE) return;
  gone_ = true;
  std::fputs("seaherald-decode: standard output was closed; decoding and filing go on without it\n",
             stderr);
}

}  // namespace seaherald::decodetool
