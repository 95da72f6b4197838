#include <gtest/gtest.h>

#include <vector>

#include "audio/BlockTimekeeper.h"
#include "tests/pipeline/PipelineFakes.h"

namespace seaherald {
namespace {

using testing::EventLog;
using testing::ManualClock;

// One "block" is what follows decoding; the tests set the indicators as the decoder would.
class BlockTimekeeperTest : public ::testing::Test {
 protected:
  void Block() {
    timekeeper_.TickClock();
    timekeeper_.UpdateLamp();
  }
  // One block in a new second.
  void NewSecond() {
    clock_.AddSeconds(1);
    Block();
  }
  // The first block ever shows a new clock text: the first tick.
  void FirstTick() { Block(); }
  int Idle() const { return indicators_.IdleSeconds; }

  Settings settings_;
  ManualClock clock_;
  EventLog log_;
  ReceptionIndicators indicators_;
  BlockTimekeeper timekeeper_{indicators_, settings_, clock_, log_};
};

TEST_F(BlockTimekeeperTest, ClockTextIsTwoDigitsEach) {
  EXPECT_EQ(FormatClockText({2026, 1, 2, 9, 5, 3}), "09:05:03");
  EXPECT_EQ(FormatClockText({2026, 1, 2, 23, 59, 59}), "23:59:59");
  EXPECT_EQ(FormatClockText({2026, 1, 2, 0, 0, 0}), "00:00:00");
}

TEST_F(BlockTimekeeperTest, BlocksWithinOneSecondTickOnce) {
  for (int i = 0; i < 10; ++i)
    Block();
  EXPECT_EQ(log_.clockCount, 1);
  EXPECT_EQ(Idle(), 1);
  NewSecond();
  for (int i = 0; i < 9; ++i)
    Block();
  EXPECT_EQ(log_.clockCount, 2);
  EXPECT_EQ(timekeeper_.ClockText(), "12:00:01");
  EXPECT_EQ(Idle(), 2);
}

TEST_F(BlockTimekeeperTest, ClockSetBackCountsAsOneNewSecond) {
  FirstTick();
  clock_.AddSeconds(-3600);
  Block();
  Block();
  EXPECT_EQ(log_.clockCount, 2);
  EXPECT_EQ(timekeeper_.ClockText(), "11:00:00");
  EXPECT_EQ(Idle(), 2);
}

TEST_F(BlockTimekeeperTest, TimeOutDiscardsOnceAfterThirtyQuietSeconds) {
  settings_.TimeOut = 30;
  FirstTick();
  std::vector<int> counts{Idle()};
  for (int second = 2; second <= 30; ++second) {
    NewSecond();
    counts.push_back(Idle());
  }
  std::vector<int> expected;
  for (int n = 1; n <= 30; ++n)
    expected.push_back(n);
  EXPECT_EQ(counts, expected);
  EXPECT_EQ(log_.discardCount, 0);

  NewSecond();
  EXPECT_EQ(log_.discardCount, 1);
  EXPECT_EQ(Idle(), 31);
  for (int second = 0; second < 20; ++second)
    NewSecond();
  EXPECT_EQ(log_.discardCount, 1);
  EXPECT_EQ(Idle(), 31);
}

TEST_F(BlockTimekeeperTest, SecondWithSyncDoesNotCount) {
  FirstTick();
  NewSecond();
  ASSERT_EQ(Idle(), 2);
  indicators_.CharSeenThisSecond = true;
  NewSecond();
  EXPECT_EQ(Idle(), 2);
  EXPECT_FALSE(indicators_.CharSeenThisSecond) << "cleared at every new second";
  NewSecond();
  EXPECT_EQ(Idle(), 3);
}

TEST_F(BlockTimekeeperTest, EveryQuietPeriodGetsItsOwnDiscard) {
  settings_.TimeOut = 3;
  FirstTick();
  for (int i = 0; i < 5; ++i)
    NewSecond();
  EXPECT_EQ(log_.discardCount, 1);
  indicators_.IdleSeconds = 0;  // reception came back
  for (int i = 0; i < 2; ++i)
    NewSecond();
  EXPECT_EQ(log_.discardCount, 1);
  for (int i = 0; i < 4; ++i)
    NewSecond();
  EXPECT_EQ(log_.discardCount, 2);
}

TEST_F(BlockTimekeeperTest, LoweringTheTimeOutBelowTheCountStillDiscardsOnce) {
  settings_.TimeOut = 30;
  FirstTick();
  for (int i = 0; i < 19; ++i)
    NewSecond();
  ASSERT_EQ(Idle(), 20);
  settings_.TimeOut = 10;
  NewSecond();
  EXPECT_EQ(log_.discardCount, 1);
  for (int i = 0; i < 5; ++i)
    NewSecond();
  EXPECT_EQ(log_.discardCount, 1);
  const int settled = Idle();
  NewSecond();
  EXPECT_EQ(Idle(), settled);
}

TEST_F(BlockTimekeeperTest, AutoDeleteRunsAtFirstSecondThenEvery1800) {
  settings_.AutoLogDelete = true;
  FirstTick();
  EXPECT_EQ(log_.autoDeleteCount, 1);
  for (int i = 0; i < 10; ++i)
    Block();
  EXPECT_EQ(timekeeper_.AutoDeleteTicker(), 1) << "counts seconds, not blocks";
  for (int second = 2; second <= 1800; ++second)
    NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 1);
  EXPECT_EQ(timekeeper_.AutoDeleteTicker(), 0);
  NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 2);
  for (int second = 0; second < 1799; ++second)
    NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 2);
  NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 3);
}

TEST_F(BlockTimekeeperTest, AutoDeleteOffNeitherRunsNorCounts) {
  FirstTick();
  for (int i = 0; i < 50; ++i)
    NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 0);
  EXPECT_EQ(timekeeper_.AutoDeleteTicker(), 0);

  settings_.AutoLogDelete = true;  // switched on in the settings dialog
  NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 1);
  for (int i = 0; i < 100; ++i)
    NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 1);
  timekeeper_.ResetAutoDeleteTicker();  // switched off and on again
  NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 2);
}

TEST_F(BlockTimekeeperTest, LampBlackUntilSyncThenLimeForThreeBlocks) {
  std::vector<bool> lamp;
  for (int i = 0; i < 5; ++i) {
    Block();
    lamp.push_back(log_.lampLime);
  }
  indicators_.LedCount = 0;  // the decoder processed a bit in sync
  for (int i = 0; i < 6; ++i) {
    Block();
    lamp.push_back(log_.lampLime);
  }
  EXPECT_EQ(lamp, (std::vector<bool>{false, false, false, false, false, true, true, true, false,
                                     false, false}));
  EXPECT_EQ(indicators_.LedCount, LampHoldBlocks) << "stops counting once black";
}

TEST_F(BlockTimekeeperTest, LampStaysLimeWhileSyncIsRenewed) {
  for (int i = 0; i < 20; ++i) {
    indicators_.LedCount = 0;
    Block();
    ASSERT_TRUE(log_.lampLime) << "block " << i;
  }
}

}  // namespace
}  // namespace seaherald
