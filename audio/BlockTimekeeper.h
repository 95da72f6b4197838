#pragma once

#include <string>

#include "app/Settings.h"
#include "audio/BlockHandlerListener.h"
#include "audio/QuietSeconds.h"
#include "decoder/ReceptionIndicators.h"
#include "platform/LocalClock.h"

namespace seaherald {

// Seconds between automatic log clean-ups while capture runs.
inline constexpr int AutoDeleteIntervalSeconds = 1800;

// The timing that follows decoding in every block: the clock panel, the receive time-out and the
// clean-up schedule once per new second, and the reception lamp once per block. It reads the
// indicators the decoder has just written and the settings as they are at that moment.
class BlockTimekeeper {
 public:
  BlockTimekeeper(ReceptionIndicators& indicators, const Settings& settings,
                  const LocalClock& clock, BlockHandlerListener& listener);

  // Does the per-second work when the clock text differs from the last block's; true then.
  bool TickClock();
  void UpdateLamp();

  // Counts new seconds 0..AutoDeleteIntervalSeconds-1; a clean-up runs when a new second finds it
  // at 0. Switching automatic deletion on resets it, so the clean-up runs at the next second.
  int AutoDeleteTicker() const { return autoDeleteTicker_; }
  void ResetAutoDeleteTicker() { autoDeleteTicker_ = 0; }

  // The clock text of the last block, empty before the first.
  const std::string& ClockText() const { return clockText_; }

 private:
  void ScheduleAutoDelete();

  ReceptionIndicators& indicators_;
  const Settings& settings_;
  const LocalClock& clock_;
  BlockHandlerListener& listener_;
  std::string clockText_;
  int autoDeleteTicker_ = 0;
  QuietSeconds quiet_;
};

// "hh:mm:ss", 24-hour, two digits each.
std::string FormatClockText(const LocalDateTime& time);

}  // namespace seaherald
