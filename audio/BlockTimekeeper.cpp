#include "audio/BlockTimekeeper.h"

#include <climits>
#include <cstdio>

namespace seaherald {

BlockTimekeeper::BlockTimekeeper(ReceptionIndicators& indicators, const Settings& settings,
                                 const LocalClock& clock, BlockHandlerListener& listener)
    : indicators_(indicators), settings_(settings), clock_(clock), listener_(listener) {}

void BlockTimekeeper::TickClock() {
  std::string text = FormatClockText(clock_.Now());
  // Any change counts as one new second, also a clock set back or forward.
  if (text == clockText_) return;
  clockText_ = std::move(text);
  listener_.ShowClock(clockText_);
  CountIdleSecond();
  indicators_.CharSeenThisSecond = false;
  ScheduleAutoDelete();
}

void BlockTimekeeper::CountIdleSecond() {
  int& idle = indicators_.IdleSeconds;
  // The decoder only ever sets the count back to 0; a smaller count means reception came back.
  if (idle < idleAfterLastTick_) discardedThisQuietPeriod_ = false;
  const int timeOut = settings_.TimeOut;
  if (idle == timeOut || (idle > timeOut && !discardedThisQuietPeriod_)) {
    listener_.DiscardMessage();
    discardedThisQuietPeriod_ = true;
    if (idle < INT_MAX) ++idle;  // one past the limit, so the discard fires once
  } else if (timeOut > idle && !indicators_.CharSeenThisSecond) {
    ++idle;
  }
  idleAfterLastTick_ = idle;
}

void BlockTimekeeper::ScheduleAutoDelete() {
  if (!settings_.AutoLogDelete) return;
  if (autoDeleteTicker_ == 0) listener_.AutoDeleteLogs();
  if (++autoDeleteTicker_ >= AutoDeleteIntervalSeconds) autoDeleteTicker_ = 0;
}

void BlockTimekeeper::UpdateLamp() {
  int& count = indicators_.LedCount;
  const bool lime = count < LampHoldBlocks;
  if (lime) ++count;
  listener_.SetLamp(lime);
}

std::string FormatClockText(const LocalDateTime& time) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

}  // namespace seaherald
