#include <gtest/gtest.h>

#include "audio/RecordingClock.h"

namespace seaherald {
namespace {

bool Same(const LocalDateTime& a, const LocalDateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second;
}

LocalDateTime AfterBlocks(const LocalDateTime& start, int blocks) {
  RecordingClock clock(start);
  for (int i = 0; i < blocks; ++i)
    clock.CountBlock();
  return clock.Now();
}

TEST(RecordingClock, OneSecondPerTenBlocks) {
  const LocalDateTime start{2026, 3, 14, 9, 26, 53};
  EXPECT_TRUE(Same(AfterBlocks(start, 0), start));
  EXPECT_TRUE(Same(AfterBlocks(start, 9), start));
  EXPECT_TRUE(Same(AfterBlocks(start, 10), {2026, 3, 14, 9, 26, 54}));
  EXPECT_TRUE(Same(AfterBlocks(start, 75), {2026, 3, 14, 9, 27, 0}));
}

TEST(RecordingClock, CarriesIntoDaysMonthsAndYears) {
  EXPECT_TRUE(Same(AfterBlocks({2024, 12, 31, 23, 59, 55}, 100), {2025, 1, 1, 0, 0, 5}));
  EXPECT_TRUE(Same(AfterBlocks({2024, 2, 28, 23, 59, 59}, 10), {2024, 2, 29, 0, 0, 0}));
  EXPECT_TRUE(Same(AfterBlocks({2023, 2, 28, 23, 59, 59}, 10), {2023, 3, 1, 0, 0, 0}));
  EXPECT_TRUE(Same(AfterBlocks({2026, 1, 1, 0, 0, 0}, 864000), {2026, 1, 2, 0, 0, 0}));
}

}  // namespace
}  // namespace seaherald
