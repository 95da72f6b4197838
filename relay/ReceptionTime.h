#pragma once

#include <string>

#include "platform/LocalClock.h"

namespace seaherald {

// A local wall-clock time placed on the time line by the system's time zone.
struct ZonedTime {
  LocalDateTime local;
  LocalDateTime utc;
  int offsetMinutes = 0;  // local minus UTC
};

// The zone in force at that local time (TZ, else the system's); a time that a clock change skips
// or repeats is taken as the C library takes it.
ZonedTime ZoneLocalTime(const LocalDateTime& local);

// "2026-12-08T14:50:03+09:00" (ISO 8601, local time with its offset; "+00:00" for UTC).
std::string Iso8601(const ZonedTime& time);

// "2026-12-08T05:50:03Z" (ISO 8601, the same instant in UTC).
std::string Iso8601Utc(const ZonedTime& time);

}  // namespace seaherald
