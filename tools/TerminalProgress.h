#pragma once

#include <chrono>
#include <cstdio>
#include <optional>

#include "tools/DecodeRunner.h"

namespace seaherald::decodetool {

// A one-line progress display on a terminal, redrawn in place a few times a second.
class TerminalProgress : public ProgressListener {
 public:
  TerminalProgress(std::FILE* terminal, std::optional<double> totalSeconds)
      : terminal_(terminal), totalSeconds_(totalSeconds) {}

  void Advanced(double secondsDecoded) override;
  // Removes the display, before a line of output or at the end.
  void Clear();

 private:
  std::FILE* terminal_;
  std::optional<double> totalSeconds_;
  std::chrono::steady_clock::time_point shownAt_;
  bool visible_ = false;
};

}  // namespace seaherald::decodetool
