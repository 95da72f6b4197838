#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/BlockHandler.h"
#include "audio/RecordingClock.h"
#include "tests/pipeline/PipelineFakes.h"
#include "tests/support/TestSignal.h"

namespace seaherald {
namespace {

using testing::CollectedLines;
using testing::EventLog;
using testing::ManualClock;

std::vector<std::int16_t> EnglishPcm(const std::string& text, double centerHz, bool inverted,
                                     double leadingSeconds) {
  testsignal::Transmission broadcast;
  broadcast.language = testsignal::Language::English;
  broadcast.text = text;
  testsignal::SignalOptions options;
  options.fsk.centerHz = centerHz;
  options.inverted = inverted;
  options.leadingSilenceSeconds = leadingSeconds;
  options.trailingSilenceSeconds = 1.0;
  return testsignal::ToPcm16(testsignal::Modulate({&broadcast, 1}, options));
}

// Two broadcasts that overlap in time: the left one at 800 Hz in normal polarity, the right one
// at 600 Hz inverted and half a second later. Each receiver can only read its own with its own
// settings.
class TwoReceiverSignalTest : public ::testing::Test {
 protected:
  TwoReceiverSignalTest() {
    settings_.DecLang = true;
    settings_.AutoSet = false;
    settings_.DecLang2 = true;
    settings_.DecInv2 = true;
    settings_.AutoSet2 = false;
    handler_.AddSecondReceiver(
        DecoderSettings{settings_.DecLang2, settings_.DecInv2, settings_.AutoSet2, secondCenter_,
                        settings_.DecSens2},
        secondLines_);
  }

  void Run() {
    const auto left = EnglishPcm("ZCZC AB12\r\nSTORM WARNING\r\nNNNN\r\n", 800.0, false, 1.0);
    const auto right = EnglishPcm("ZCZC CD34\r\nFOG IN THE STRAIT\r\nNNNN\r\n", 600.0, true, 1.5);
    const std::size_t length = std::max(left.size(), right.size());
    std::vector<std::int16_t> stereo(BlockFrames * 2);
    for (std::size_t start = 0; start + BlockFrames <= length; start += BlockFrames) {
      for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
        const std::size_t at = start + frame;
        stereo[frame * 2] = at < left.size() ? left[at] : std::int16_t{0};
        stereo[frame * 2 + 1] = at < right.size() ? right[at] : std::int16_t{0};
      }
      handler_.ProcessBlock(StereoBlock(stereo.data(), stereo.size()));
      clock_.CountBlock();
    }
  }

  Settings settings_;
  double firstCenter_ = 800.0;
  double secondCenter_ = 600.0;
  CollectedLines firstLines_;
  CollectedLines secondLines_;
  RecordingClock clock_{{2026, 5, 4, 12, 0, 0}};
  EventLog log_;
  BlockHandler handler_{
      DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet, firstCenter_},
      firstLines_, settings_, clock_, log_};
};

TEST_F(TwoReceiverSignalTest, EachReceiverReadsItsOwnChannelWithItsOwnSettings) {
  settings_.Receiver2 = true;
  Run();
  EXPECT_EQ(firstLines_.lines, (std::vector<std::string>{"ZCZC AB12", "STORM WARNING", "NNNN"}));
  EXPECT_EQ(secondLines_.lines,
            (std::vector<std::string>{"ZCZC CD34", "FOG IN THE STRAIT", "NNNN"}));
  EXPECT_NE(handler_.Second()->GetDecoder().TuningOffset(),
            handler_.First().GetDecoder().TuningOffset())
      << "each receiver keeps its own tuning display";
}

// Silent input: the indicators move only as the tests set them, as the decoder would.
class TwoReceiverTimingTest : public ::testing::Test {
 protected:
  TwoReceiverTimingTest() {
    settings_.AutoSet = false;
    settings_.AutoSet2 = false;
    settings_.Receiver2 = true;
    handler_.AddSecondReceiver(DecoderSettings{settings_.DecLang2, settings_.DecInv2,
                                               settings_.AutoSet2, centerFrequency_},
                               secondLines_);
  }
  void Block() { handler_.ProcessBlock(StereoBlock(silence_.data(), silence_.size())); }
  ReceptionIndicators& Second() { return handler_.Second()->Indicators(); }

  Settings settings_;
  double centerFrequency_ = 800.0;
  CollectedLines lines_;
  CollectedLines secondLines_;
  ManualClock clock_;
  EventLog log_;
  BlockHandler handler_{
      DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet, centerFrequency_},
      lines_, settings_, clock_, log_};
  std::vector<std::int16_t> silence_ = std::vector<std::int16_t>(BlockFrames * 2, 0);
};

TEST_F(TwoReceiverTimingTest, SecondReceiverStepsFollowTheFirstOnesWithinABlock) {
  settings_.AutoLogDelete = true;
  settings_.TimeOut = 1;
  handler_.Indicators().IdleSeconds = 1;
  Second().IdleSeconds = 1;
  Second().LedCount = 0;
  Block();
  EXPECT_EQ(log_.events,
            (std::vector<std::string>{"decoded", "clock 12:00:00", "discard", "autodelete",
                                      "discard 2", "black", "lime 2", "done"}));
}

TEST_F(TwoReceiverTimingTest, TimeOutsAndLampsAreEachReceiversOwn) {
  settings_.TimeOut = 3;
  Block();
  for (int second = 0; second < 4; ++second) {
    Second().CharSeenThisSecond = true;  // the right channel keeps receiving
    Second().IdleSeconds = 0;
    clock_.AddSeconds(1);
    Block();
  }
  EXPECT_EQ(log_.discardCount, 1) << "the quiet left receiver timed out";
  EXPECT_EQ(log_.secondDiscardCount, 0) << "the busy right one did not";
  EXPECT_EQ(Second().IdleSeconds, 0);
  Second().LedCount = 0;
  Block();
  EXPECT_TRUE(log_.secondLampLime);
  EXPECT_FALSE(log_.lampLime);
}

TEST_F(TwoReceiverTimingTest, SwitchingTheSecondReceiverOffDropsItsMessageOnce) {
  Block();
  log_.events.clear();
  settings_.Receiver2 = false;
  Block();
  Block();
  EXPECT_EQ(log_.secondDiscardCount, 1);
  EXPECT_FALSE(log_.secondLampLime);
  EXPECT_EQ(std::count(log_.events.begin(), log_.events.end(), "black 2"), 1);
  EXPECT_FALSE(handler_.SecondReceiverOn());
  settings_.Receiver2 = true;
  EXPECT_TRUE(handler_.SecondReceiverOn());
}

}  // namespace
}  // namespace seaherald
