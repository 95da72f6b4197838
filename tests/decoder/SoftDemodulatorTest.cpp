// What the high-sensitivity demodulator tells of a station beside its bits: whether a tone of the
// station's level is there at all, so that the end of a station is told from a weak character.
#include "decoder/SoftDemodulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "tests/decoder/FskTestSignal.h"

namespace seaherald {
namespace {

// Presence of each demodulated bit over the whole audio, block by block.
std::vector<double> Presences(const std::vector<double>& audio) {
  SoftDemodulator demodulator;
  DemodulatorOutputs outputs;
  std::vector<double> presences;
  std::array<double, BlockFrames> block{};
  for (std::size_t start = 0; start + BlockFrames <= audio.size(); start += BlockFrames) {
    std::copy_n(audio.begin() + static_cast<std::ptrdiff_t>(start), BlockFrames, block.begin());
    demodulator.Demodulate(block, 800.0, outputs);
    const auto bits = demodulator.Presences();
    presences.insert(presences.end(), bits.begin(), bits.end());
  }
  return presences;
}

double SumOf(const std::vector<double>& values, std::size_t from, std::size_t count) {
  return std::accumulate(values.begin() + static_cast<std::ptrdiff_t>(from),
                         values.begin() + static_cast<std::ptrdiff_t>(from + count), 0.0);
}

TEST(SoftDemodulatorPresence, ATonePresentCountsForItNoiseAfterItAgainstItSilenceForNeither) {
  // Four seconds of random bits in noise (about -4 dB in 2500 Hz), then noise alone, then
  // digital silence, as when a recording breaks off.
  std::mt19937 random(5);
  test::Bits bits(400);
  for (auto& bit : bits)
    bit = static_cast<std::uint8_t>(random() & 1);
  test::FskOptions options;
  options.amplitude = 1000;
  options.noiseStdDev = 1500;
  std::vector<double> audio = test::FskAudio(bits, options);
  test::FskOptions quiet = options;
  quiet.amplitude = 0;
  const std::vector<double> noise = test::FskAudio(test::Bits(200), quiet);
  audio.insert(audio.end(), noise.begin(), noise.end());
  audio.resize(audio.size() + 100 * 441, 0.0);

  const std::vector<double> presence = Presences(audio);
  ASSERT_GE(presence.size(), 690u);
  // Seven bits, a character, at a time: clearly for the station while it sends, clearly against
  // it within a character of its end, and nothing either way without any sound.
  for (std::size_t at = 50; at + 7 <= 390; at += 7)
    EXPECT_GT(SumOf(presence, at, 7), 4.0) << at;
  EXPECT_LT(SumOf(presence, 402, 7), -4.0);
  for (std::size_t at = 620; at + 7 <= 690; at += 7)
    EXPECT_EQ(SumOf(presence, at, 7), 0.0) << at;
}

}  // namespace
}  // namespace seaherald
