#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace seaherald {

// How sure the decoder was of a character it printed. Only the high-sensitivity path is ever
// unsure; the standard path prints only what both copies agree on.
enum class Doubt : std::uint8_t {
  kSure = 0,
  kDoubtful = 1,  // most likely right, but not beyond doubt: no header is made of it
  kGuessed = 2,   // may well be wrong: counts as an error of its message
};

// One doubt per byte of a line.
using UnsureBytes = std::vector<Doubt>;

// Receives what the decoder produces. Lines are Shift-JIS bytes without any line end.
class LineSink {
 public:
  virtual ~LineSink() = default;
  // A finished line; `cut` is true when the line ended because character sync was lost.
  virtual void AddReceivedLine(const std::string& line, bool cut) = 0;
  // A finished line holding characters the decoder was unsure of (`unsure` has one flag per
  // byte). Sinks that judge messages by their errors take this; others see a plain line.
  virtual void AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) {
    static_cast<void>(unsure);
    AddReceivedLine(line, cut);
  }
  // The whole line in progress, after every character appended to it (status panel 0).
  virtual void ShowLiveLine(const std::string& line) = 0;
  // The phasing that begins a transmission, checked in sync (repeated while it lasts): whatever
  // message was still open cannot go on.
  virtual void PhasingSeen() {}
};

}  // namespace seaherald
