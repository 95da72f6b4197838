#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "audio/BlockHandler.h"
#include "tests/pipeline/PipelineFakes.h"

namespace seaherald {
namespace {

using testing::CollectedLines;
using testing::EventLog;
using testing::ManualClock;

// Silent input: the decoder never gains sync, so the indicators move only as the tests set them,
// just as the decoder would set them inside a block.
class BlockHandlerTest : public ::testing::Test {
 protected:
  BlockHandlerTest() { settings_.AutoSet = false; }

  void Block() { handler_.ProcessBlock(StereoBlock(silence_.data(), silence_.size())); }
  // One block in a new second.
  void NewSecond() {
    clock_.AddSeconds(1);
    Block();
  }
  // The first block ever shows a new clock text: the first tick.
  void FirstTick() { Block(); }
  int Idle() const { return handler_.Indicators().IdleSeconds; }

  Settings settings_;
  double centerFrequency_ = 800.0;
  CollectedLines lines_;
  ManualClock clock_;
  EventLog log_;
  BlockHandler handler_{
      DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet, centerFrequency_},
      lines_, settings_, clock_, log_};
  std::vector<std::int16_t> silence_ = std::vector<std::int16_t>(BlockFrames * 2, 0);
};

TEST_F(BlockHandlerTest, StartsWithTheDocumentedIndicators) {
  EXPECT_EQ(handler_.Indicators().LedCount, 5);
  EXPECT_FALSE(handler_.Indicators().CharSeenThisSecond);
  EXPECT_EQ(Idle(), 0);
  EXPECT_EQ(handler_.AutoDeleteTicker(), 0);
  EXPECT_EQ(handler_.ClockText(), "");
}

TEST_F(BlockHandlerTest, StepsRunInOrderWithinABlock) {
  settings_.AutoLogDelete = true;
  settings_.TimeOut = 1;
  handler_.Indicators().IdleSeconds = 1;
  FirstTick();
  EXPECT_EQ(log_.events, (std::vector<std::string>{"decoded", "clock 12:00:00", "discard",
                                                   "autodelete", "black", "done"}));
  log_.events.clear();
  Block();
  EXPECT_EQ(log_.events, (std::vector<std::string>{"decoded", "black", "done"}))
      << "nothing per-second happens within the same second";
}

TEST_F(BlockHandlerTest, TicksOncePerSecondOfBlocks) {
  for (int second = 0; second < 3; ++second) {
    for (int i = 0; i < 10; ++i)
      Block();
    clock_.AddSeconds(1);
  }
  EXPECT_EQ(log_.clockCount, 3);
  EXPECT_EQ(Idle(), 3) << "silence holds no sync";
  EXPECT_EQ(std::count(log_.events.begin(), log_.events.end(), "decoded"), 30);
  EXPECT_EQ(std::count(log_.events.begin(), log_.events.end(), "done"), 30);
}

TEST_F(BlockHandlerTest, LampFollowsTheIndicatorTheDecoderSets) {
  Block();
  EXPECT_FALSE(log_.lampLime);
  handler_.Indicators().LedCount = 0;
  Block();
  EXPECT_TRUE(log_.lampLime);
}

TEST_F(BlockHandlerTest, AutoDeleteTickerCanBeReset) {
  settings_.AutoLogDelete = true;
  FirstTick();
  NewSecond();
  EXPECT_EQ(handler_.AutoDeleteTicker(), 2);
  handler_.ResetAutoDeleteTicker();
  EXPECT_EQ(handler_.AutoDeleteTicker(), 0);
  NewSecond();
  EXPECT_EQ(log_.autoDeleteCount, 2);
}

}  // namespace
}  // namespace seaherald
