#pragma once

#include "app/Settings.h"
#include "decoder/ReceptionIndicators.h"

namespace seaherald {

// Blocks after the last bit in sync during which the lamp stays lime.
inline constexpr int LampHoldBlocks = 3;

// One receiver's receive time-out: counts the seconds without reception in its indicators and
// says when its message in progress is to be dropped.
class QuietSeconds {
 public:
  QuietSeconds(ReceptionIndicators& indicators, const Settings& settings)
      : indicators_(indicators), settings_(settings) {}

  // Once per new second, after the decoder has written the indicators. True when the time-out
  // is reached: the message in progress goes. Starts the next second without a character seen.
  bool CountSecond();

 private:
  ReceptionIndicators& indicators_;
  const Settings& settings_;
  // Lets a time-out that was skipped over (the limit lowered below the count) still drop the
  // message, once per quiet period.
  bool discardedThisQuietPeriod_ = false;
  int idleAfterLastTick_ = 0;
};

// Once per block: whether the reception lamp is lime, counting the block towards its hold.
bool AdvanceLamp(ReceptionIndicators& indicators);

}  // namespace seaherald
