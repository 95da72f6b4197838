#pragma once

#include <string>
#include <vector>

#include "decoder/LineSink.h"

namespace seaherald::test {

struct ReceivedLine {
  std::string text;
  bool cut;
  bool operator==(const ReceivedLine&) const = default;
};

// Keeps every line and every live-line update the decoder hands over.
class RecordingSink : public LineSink {
 public:
  void AddReceivedLine(const std::string& line, bool cut) override { lines.push_back({line, cut}); }
  void ShowLiveLine(const std::string& line) override { liveLines.push_back(line); }

  std::vector<ReceivedLine> lines;
  std::vector<std::string> liveLines;
};

}  // namespace seaherald::test
