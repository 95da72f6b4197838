#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "audio/SampleConversion.h"

namespace seaherald {
namespace {

TEST(SampleConversion, LeftChannelOnlyUnscaledWithExtremes) {
  std::vector<std::int16_t> stereo(BlockFrames * 2);
  for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
    stereo[frame * 2] = static_cast<std::int16_t>(static_cast<int>(frame % 2001) - 1000);
    stereo[frame * 2 + 1] = 12345;  // the right channel must never show up
  }
  stereo[0] = std::numeric_limits<std::int16_t>::min();
  stereo[2] = std::numeric_limits<std::int16_t>::max();
  stereo[(BlockFrames - 1) * 2] = -1;

  std::vector<double> samples(BlockFrames, 99.0);
  ConvertLeftChannel(StereoBlock(stereo.data(), stereo.size()),
                     std::span<double, BlockFrames>(samples.data(), samples.size()));

  EXPECT_EQ(samples[0], -32768.0);
  EXPECT_EQ(samples[1], 32767.0);
  EXPECT_EQ(samples[BlockFrames - 1], -1.0);
  for (std::size_t frame = 2; frame + 1 < BlockFrames; ++frame) {
    ASSERT_EQ(samples[frame], static_cast<double>(stereo[frame * 2])) << "frame " << frame;
  }
}

TEST(SampleConversion, SilenceStaysExactlyZero) {
  const std::vector<std::int16_t> stereo(BlockFrames * 2, 0);
  std::vector<double> samples(BlockFrames, 7.0);
  ConvertLeftChannel(StereoBlock(stereo.data(), stereo.size()),
                     std::span<double, BlockFrames>(samples.data(), samples.size()));
  for (const double sample : samples)
    ASSERT_EQ(sample, 0.0);
}

}  // namespace
}  // namespace seaherald
