#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "decoder/LineSink.h"
#include "platform/CodePage.h"
#include "tools/PipedOutput.h"

namespace seaherald::decodetool {

// Prints each handed-over line as UTF-8, "..." after a line that was cut, and flushes it at once
// so that a pipe sees every line as it is decoded.
class LinePrinter : public LineSink {
 public:
  explicit LinePrinter(std::FILE* out) : out_(out) {}

  // Called before each line is written (the progress display clears itself there).
  void SetBeforeLine(std::function<void()> beforeLine) { beforeLine_ = std::move(beforeLine); }

  void AddReceivedLine(const std::string& line, bool cut) override;
  void ShowLiveLine(const std::string&) override {}

  // UTF-8 for a Shift-JIS line. Byte pairs that are no character (noise decodes to any JIS
  // value) become U+FFFD, so nothing of the line is silently lost.
  std::string ToUtf8(const std::string& shiftJis) const;

 private:
  PipedOutput out_;
  CodePageConverter converter_;
  std::function<void()> beforeLine_;
};

}  // namespace seaherald::decodetool
