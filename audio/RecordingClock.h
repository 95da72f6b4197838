#pragma once

#include <chrono>
#include <cstdint>

#include "platform/LocalClock.h"

namespace seaherald {

inline constexpr int BlocksPerSecond = 10;

// Time for decoding a recording: it starts at a given moment and moves on one second per ten
// blocks of audio, so per-second behaviour (the receive time-out above all) depends on the audio
// and not on how fast it is decoded.
class RecordingClock final : public LocalClock {
 public:
  explicit RecordingClock(const LocalDateTime& start);

  LocalDateTime Now() const override;
  // Call once after each block has been handled.
  void CountBlock() { ++blocks_; }
  std::int64_t BlockCount() const { return blocks_; }

 private:
  std::chrono::sys_seconds start_;
  std::int64_t blocks_ = 0;
};

}  // namespace seaherald
