#include "audio/RecordingClock.h"

namespace seaherald {

namespace {

// Calendar arithmetic without a time zone: the clock only ever counts forward from its start.
std::chrono::sys_seconds ToSeconds(const LocalDateTime& time) {
  using namespace std::chrono;
  // Out-of-range days roll over into the next month, as sys_days defines for them.
  const sys_days date = year{time.year} / month{static_cast<unsigned>(time.month)} /
                        day{static_cast<unsigned>(time.day)};
  return date + hours{time.hour} + minutes{time.minute} + seconds{time.second};
}

LocalDateTime FromSeconds(std::chrono::sys_seconds time) {
  using namespace std::chrono;
  const sys_days date = floor<days>(time);
  const year_month_day calendar{date};
  const hh_mm_ss clock{time - date};
  return {static_cast<int>(calendar.year()),          static_cast<int>(unsigned{calendar.month()}),
          static_cast<int>(unsigned{calendar.day()}), static_cast<int>(clock.hours().count()),
          static_cast<int>(clock.minutes().count()),  static_cast<int>(clock.seconds().count())};
}

}  // namespace

RecordingClock::RecordingClock(const LocalDateTime& start) : start_(ToSeconds(start)) {}

LocalDateTime RecordingClock::Now() const {
  return FromSeconds(start_ + std::chrono::seconds{blocks_ / BlocksPerSecond});
}

}  // namespace seaherald
