#include "audio/BlockTimekeeper.h"

#include <cstdio>

namespace seaherald {

BlockTimekeeper::BlockTimekeeper(ReceptionIndicators& indicators, const Settings& settings,
                                 const LocalClock& clock, BlockHandlerListener& listener)
    : indicators_(indicators),
      settings_(settings),
      clock_(clock),
      listener_(listener),
      quiet_(indicators, settings) {}

bool BlockTimekeeper::TickClock() {
  std::string text = FormatClockText(clock_.Now());
  // Any change counts as one new second, also a clock set back or forward.
  if (text == clockText_) return false;
  clockText_ = std::move(text);
  listener_.ShowClock(clockText_);
  if (quiet_.CountSecond()) listener_.DiscardMessage();
  ScheduleAutoDelete();
  return true;
}

void BlockTimekeeper::ScheduleAutoDelete() {
  if (!settings_.AutoLogDelete) return;
  if (autoDeleteTicker_ == 0) listener_.AutoDeleteLogs();
  if (++autoDeleteTicker_ >= AutoDeleteIntervalSeconds) autoDeleteTicker_ = 0;
}

void BlockTimekeeper::UpdateLamp() {
  listener_.SetLamp(AdvanceLamp(indicators_));
}

std::string FormatClockText(const LocalDateTime& time) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

}  // namespace seaherald
