#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "decoder/LineSink.h"

namespace seaherald::test {

struct ReceivedLine {
  std::string text;
  bool cut;
  bool operator==(const ReceivedLine&) const = default;
};

// Test failures show the bytes, escaping everything outside printable ASCII.
inline void PrintTo(const ReceivedLine& line, std::ostream* os) {
  *os << '"';
  for (unsigned char c : line.text) {
    if (c >= 0x20 && c < 0x7F) {
      *os << c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      *os << hex;
    }
  }
  *os << (line.cut ? "\" cut" : "\"");
}

// Keeps every line and every live-line update the decoder hands over.
class RecordingSink : public LineSink {
 public:
  void AddReceivedLine(const std::string& line, bool cut) override { lines.push_back({line, cut}); }
  void ShowLiveLine(const std::string& line) override { liveLines.push_back(line); }
  void PhasingSeen() override { ++phasings; }

  std::vector<ReceivedLine> lines;
  std::vector<std::string> liveLines;
  int phasings = 0;  // PhasingSeen calls
};

}  // namespace seaherald::test
