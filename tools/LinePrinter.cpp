#include "tools/LinePrinter.h"

#include "platform/ShowableUtf8.h"

namespace seaherald::decodetool {

std::string LinePrinter::ToUtf8(const std::string& shiftJis) const {
  return ShowableUtf8(converter_, shiftJis);
}

void LinePrinter::AddReceivedLine(const std::string& line, bool cut) {
  if (beforeLine_) beforeLine_();
  const std::string text = ToUtf8(line) + (cut ? "..." : "") + "\n";
  out_.Write(text);
}

}  // namespace seaherald::decodetool
