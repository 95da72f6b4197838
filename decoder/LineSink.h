#pragma once

#include <string>

namespace seaherald {

// Receives what the decoder produces. Lines are Shift-JIS bytes without any line end.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // A finished line; `cut` is true when the line ended because character sync was lost.
  virtual void AddReceivedLine(const std::string& line, bool cut) = 0;
  // The whole line in progress, after every character appended to it (status panel 0).
  virtual void ShowLiveLine(const std::string& line) = 0;
  // The phasing that begins a transmission, checked in sync (repeated while it lasts): whatever
  // message was still open cannot go on.
  virtual void PhasingSeen() {}
};

}  // namespace seaherald
