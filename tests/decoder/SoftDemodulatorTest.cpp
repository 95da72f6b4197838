// The high-sensitivity demodulator weighs each bit by the station's amplitude around it: in a
// fade the soft values shrink at once, so that the character's other copy decides, and they are
// back to full weight as soon as the station is.
#include "decoder/SoftDemodulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "tests/decoder/FskTestSignal.h"

namespace seaherald {
namespace {

constexpr std::size_t SamplesPerBit = 441;

std::vector<double> SoftBitsOf(const std::vector<double>& audio) {
  SoftDemodulator demodulator;
  DemodulatorOutputs outputs;
  std::vector<double> soft;
  std::array<double, BlockFrames> block{};
  for (std::size_t start = 0; start + BlockFrames <= audio.size(); start += BlockFrames) {
    std::copy_n(audio.begin() + static_cast<std::ptrdiff_t>(start), BlockFrames, block.begin());
    demodulator.Demodulate(block, 800.0, outputs);
    const auto bits = demodulator.SoftBits();
    soft.insert(soft.end(), bits.begin(), bits.end());
  }
  return soft;
}

double MeanMagnitude(const std::vector<double>& values, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i)
    sum += std::abs(values[i]);
  return sum / static_cast<double>(to - from);
}

// 600 random bits sent at `amplitude`, and the generator that drew them, to draw the noise on.
struct RandomStation {
  RandomStation(unsigned seed, double amplitude) : random(seed), bits(600) {
    for (auto& bit : bits)
      bit = static_cast<std::uint8_t>(random() & 1);
    test::FskOptions options;
    options.amplitude = amplitude;
    audio = test::FskAudio(bits, options);
  }
  std::mt19937 random;
  test::Bits bits;
  std::vector<double> audio;
};

TEST(SoftDemodulatorWeighting, SoftValuesFollowAFadeWithinAFewBits) {
  // Random bits at about +2 dB in 2500 Hz; from bit 300 to bit 330 the station fades by 20 dB.
  RandomStation station(5, 2000);
  std::vector<double>& audio = station.audio;
  std::normal_distribution<double> noise(0.0, 1500.0);
  for (std::size_t i = 0; i < audio.size(); ++i) {
    const std::size_t bit = i / SamplesPerBit;
    if (bit >= 300 && bit < 330) audio[i] *= 0.1;
    audio[i] += noise(station.random);
  }
  audio.resize(audio.size() + 100 * SamplesPerBit, 0.0);
  const std::vector<double> soft = SoftBitsOf(audio);
  ASSERT_GE(soft.size(), 690u);

  const double steady = MeanMagnitude(soft, 100, 290);
  const double faded = MeanMagnitude(soft, 306, 324);
  const double after = MeanMagnitude(soft, 338, 400);
  EXPECT_LT(faded, 0.15 * steady) << "a bit in the fade weighs little";
  EXPECT_GT(after, 0.8 * steady) << "full weight again soon after";
  // Digital silence, as when a recording breaks off, says nothing either way.
  EXPECT_EQ(MeanMagnitude(soft, 620, 680), 0.0);
}

// Bursts of noise 20 dB over the noise, one bit long and straddling two bits (each of which the
// correlator between the tones then sees only in part), every 20 bits at about -3 dB: a bit a burst
// points the wrong way must weigh no more than two of the station's bits, or a copy hit by a burst
// outvotes the clean copy and a character is read wrong without doubt.
TEST(SoftDemodulatorWeighting, ABitABurstTurnedWeighsLessThanTheStationsBits) {
  RandomStation sent(7, 500);
  const test::Bits& bits = sent.bits;
  std::vector<double>& audio = sent.audio;
  std::normal_distribution<double> noise(0.0, 1500.0);
  constexpr std::size_t BurstSamples = 441;
  for (std::size_t i = 0; i < audio.size(); ++i) {
    const std::size_t bit = (i + SamplesPerBit / 2) / SamplesPerBit;
    const bool burst =
        bit >= 100 && bit % 20 == 10 && (i + SamplesPerBit / 2) % SamplesPerBit < BurstSamples;
    audio[i] += noise(sent.random) * (burst ? 10.0 : 1.0);
  }
  const std::vector<double> soft = SoftBitsOf(audio);
  ASSERT_GE(soft.size(), 560u);
  // The soft values lag the bits by a fixed number: found where they agree best.
  std::size_t lag = 0;
  int best = -1;
  for (std::size_t l = 0; l < 20; ++l) {
    int agree = 0;
    for (std::size_t i = 20; i < 90; ++i)
      agree += (soft[i + l] > 0) == (bits[i] != 0);
    if (agree > best) best = agree, lag = l;
  }
  std::vector<double> station;
  double wrongest = 0;
  for (std::size_t i = 100; i + lag < 560; ++i) {
    const double value = (bits[i] != 0 ? 1 : -1) * soft[i + lag];
    const bool hit = i % 20 == 9 || i % 20 == 10;
    if (!hit) station.push_back(std::abs(value));
    if (hit) wrongest = std::max(wrongest, -value);
  }
  std::nth_element(station.begin(), station.begin() + station.size() / 2, station.end());
  EXPECT_LT(wrongest, 2 * station[station.size() / 2]);
}

}  // namespace
}  // namespace seaherald
