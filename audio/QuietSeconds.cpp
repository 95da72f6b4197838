#include "audio/QuietSeconds.h"

#include <climits>

namespace seaherald {

bool QuietSeconds::CountSecond() {
  int& idle = indicators_.IdleSeconds;
  // The decoder only ever sets the count back to 0; a smaller count means reception came back.
  if (idle < idleAfterLastTick_) discardedThisQuietPeriod_ = false;
  const int timeOut = settings_.TimeOut;
  bool discard = false;
  if (idle == timeOut || (idle > timeOut && !discardedThisQuietPeriod_)) {
    discard = true;
    discardedThisQuietPeriod_ = true;
    if (idle < INT_MAX) ++idle;  // one past the limit, so the discard fires once
  } else if (timeOut > idle && !indicators_.CharSeenThisSecond) {
    ++idle;
  }
  idleAfterLastTick_ = idle;
  indicators_.CharSeenThisSecond = false;
  return discard;
}

bool AdvanceLamp(ReceptionIndicators& indicators) {
  const bool lime = indicators.LedCount < LampHoldBlocks;
  if (lime) ++indicators.LedCount;
  return lime;
}

}  // namespace seaherald
