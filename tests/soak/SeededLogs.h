#pragma once

#include <chrono>
#include <cstdint>

#include "tests/soak/SoakSchedule.h"
#include "tests/soak/SoakWindow.h"

namespace seaherald::soak {

inline constexpr int SeededDays = 4;  // the start day and the three before it
inline constexpr int SeededLogsPerDay = 40;

// Logs left from the days before the run, as the message log would have written them, entered
// in the ledger. Some of the headers of the last two days are handed to the schedule, so that
// broadcasts come round again under them.
void SeedOldLogs(SoakWindow& window, SoakSchedule& schedule, std::chrono::year_month_day startDay,
                 std::uint32_t seed);

}  // namespace seaherald::soak
