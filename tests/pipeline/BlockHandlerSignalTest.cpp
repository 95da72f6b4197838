#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/BlockHandler.h"
#include "audio/RecordingClock.h"
#include "tests/pipeline/PipelineFakes.h"
#include "tests/support/TestSignal.h"

namespace seaherald {
namespace {

using testing::CollectedLines;
using testing::EventLog;

struct BlockRecord {
  bool lime = false;
  int idleSeconds = 0;
  bool discarded = false;
  std::size_t linesSoFar = 0;
};

// A modulated English broadcast, one second of silence before it and quiet audio after it, run
// through the handler block by block with time taken from the audio.
class BlockHandlerSignalTest : public ::testing::Test {
 protected:
  BlockHandlerSignalTest() {
    settings_.DecLang = true;
    settings_.TimeOut = 5;
  }

  std::vector<BlockRecord> Run(double trailingSeconds) {
    testsignal::Transmission broadcast;
    broadcast.language = testsignal::Language::English;
    broadcast.text = "ZCZC AB12\r\nSTORM WARNING\r\nNNNN\r\n";
    testsignal::SignalOptions options;
    options.fsk.centerHz = centerFrequency_;
    options.leadingSilenceSeconds = 1.0;
    options.trailingSilenceSeconds = trailingSeconds;
    const std::vector<std::int16_t> mono =
        testsignal::ToPcm16(testsignal::Modulate({&broadcast, 1}, options));

    std::vector<BlockRecord> records;
    std::vector<std::int16_t> stereo(BlockFrames * 2);
    for (std::size_t start = 0; start + BlockFrames <= mono.size(); start += BlockFrames) {
      for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
        stereo[frame * 2] = mono[start + frame];
        stereo[frame * 2 + 1] = static_cast<std::int16_t>(-mono[start + frame] / 2);
      }
      const int discardsBefore = log_.discardCount;
      handler_.ProcessBlock(StereoBlock(stereo.data(), stereo.size()));
      clock_.CountBlock();
      records.push_back({log_.lampLime, handler_.Indicators().IdleSeconds,
                         log_.discardCount > discardsBefore, lines_.lines.size()});
    }
    return records;
  }

  Settings settings_;
  double centerFrequency_ = 800.0;
  CollectedLines lines_;
  RecordingClock clock_{{2026, 5, 4, 23, 59, 50}};
  EventLog log_;
  BlockHandler handler_{
      DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet, centerFrequency_},
      lines_, settings_, clock_, log_};
};

TEST_F(BlockHandlerSignalTest, DecodesTheLeftChannelIntoLines) {
  Run(1.0);
  EXPECT_EQ(lines_.lines, (std::vector<std::string>{"ZCZC AB12", "STORM WARNING", "NNNN"}));
}

TEST_F(BlockHandlerSignalTest, LampIsBlackBeforeLimeDuringAndBlackAfterReception) {
  const std::vector<BlockRecord> records = Run(3.0);
  for (std::size_t block = 0; block < 10; ++block) {
    EXPECT_FALSE(records[block].lime) << "silence before the broadcast, block " << block;
  }
  std::size_t firstLine = records.size();
  for (std::size_t block = 0; block < records.size(); ++block) {
    if (records[block].linesSoFar > 0 && firstLine == records.size()) firstLine = block;
  }
  ASSERT_LT(firstLine, records.size());
  EXPECT_TRUE(records[firstLine].lime) << "a line was just received in sync";
  for (std::size_t block = records.size() - 10; block < records.size(); ++block) {
    EXPECT_FALSE(records[block].lime) << "quiet audio at the end, block " << block;
  }
}

TEST_F(BlockHandlerSignalTest, TimeOutCountsSecondsOfAudio) {
  const std::vector<BlockRecord> records = Run(12.0);
  std::size_t lastReception = 0;
  std::vector<std::size_t> discards;
  for (std::size_t block = 0; block < records.size(); ++block) {
    if (records[block].idleSeconds == 0) lastReception = block;
    if (records[block].discarded) discards.push_back(block);
  }
  // Reset at the end of reception; ticks every ten blocks after it: counted to 5 within 50 blocks,
  // then the next tick drops the message.
  ASSERT_EQ(discards.size(), 1u);
  EXPECT_GT(discards[0], lastReception + 50);
  EXPECT_LE(discards[0], lastReception + 60);
  EXPECT_EQ(records.back().idleSeconds, settings_.TimeOut + 1);
  EXPECT_EQ(log_.clockCount, static_cast<int>((records.size() + 9) / 10));
}

}  // namespace
}  // namespace seaherald
