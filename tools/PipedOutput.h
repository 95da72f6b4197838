#pragma once

#include <cstdio>
#include <string_view>

namespace seaherald::decodetool {

// Standard output as a pipe sees it: every write is flushed at once. When the reader goes away
// (SIGPIPE ignored, EPIPE), this says so on standard error once and drops all later output, so
// that decoding and filing run on to their normal end.
class PipedOutput {
 public:
  explicit PipedOutput(std::FILE* out) : out_(out) {}

  // Part of one piece of output; Flush ends it.
  void Put(std::string_view text);
  void Flush();
  void Write(std::string_view text) {
    Put(text);
    Flush();
  }

 private:
  void NoteFailure();

  std::FILE* out_;
  bool gone_ = false;
};

}  // namespace seaherald::decodetool
