#pragma once

namespace seaherald {

// Local date and time of day, as the user's wall clock shows it.
struct LocalDateTime {
  int year = 1901;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Source of the local time; tests and the recording decoder substitute their own.
class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual LocalDateTime Now() const = 0;
};

class SystemClock final : public LocalClock {
 public:
  LocalDateTime Now() const override;
};

}  // namespace seaherald
