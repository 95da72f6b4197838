#include "tools/TerminalProgress.h"

namespace seaherald::decodetool {

void TerminalProgress::Advanced(double secondsDecoded) {
  constexpr auto RedrawInterval = std::chrono::milliseconds(200);
  const auto now = std::chrono::steady_clock::now();
  if (visible_ && now - shownAt_ < RedrawInterval) return;
  shownAt_ = now;
  if (totalSeconds_ && *totalSeconds_ > 0) {
    const double percent = 100.0 * secondsDecoded / *totalSeconds_;
    std::fprintf(terminal_, "\r\033[Kdecoding: %.1f s of %.1f s (%.0f%%)", secondsDecoded,
                 *totalSeconds_, percent > 100.0 ? 100.0 : percent);
  } else {
    std::fprintf(terminal_, "\r\033[Kdecoding: %.1f s", secondsDecoded);
  }
  std::fflush(terminal_);
  visible_ = true;
}

void TerminalProgress::Clear() {
  if (!visible_) return;
  std::fprintf(terminal_, "\r\033[K");
  std::fflush(terminal_);
  visible_ = false;
}

}  // namespace seaherald::decodetool
