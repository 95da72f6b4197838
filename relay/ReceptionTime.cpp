#include "relay/ReceptionTime.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace seaherald {
namespace {

LocalDateTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

ZonedTime ZoneLocalTime(const LocalDateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  const std::time_t instant = std::mktime(&tm);
  std::tm utc{};
  if (instant == static_cast<std::time_t>(-1) || gmtime_r(&instant, &utc) == nullptr) {
    // Outside what the C library can place: keep the wall-clock time and call it UTC.
    return {local, local, 0};
  }
  return {local, FromTm(utc), static_cast<int>(tm.tm_gmtoff / 60)};
}

std::string Iso8601(const ZonedTime& time) {
  const LocalDateTime& t = time.local;
  const int offset = std::abs(time.offsetMinutes);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month,
                t.day, t.hour, t.minute, t.second, time.offsetMinutes < 0 ? '-' : '+', offset / 60,
                offset % 60);
  return text;
}

std::string Iso8601Utc(const ZonedTime& time) {
  const LocalDateTime& t = time.utc;
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace seaherald
