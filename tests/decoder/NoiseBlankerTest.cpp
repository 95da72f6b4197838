// The blanker must take out a loud burst whole and leave everything else alone: a faded station
// passes untouched, and a station that starts loud is followed within a moment.
#include "decoder/NoiseBlanker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "tests/support/GaussianNoise.h"
#include "tests/support/RayleighFading.h"

namespace seaherald {
namespace {

constexpr double Rate = 4410.0;

// A tone of amplitude 1000 (times `gains` where given) in noise of deviation `noise`.
std::vector<double> ToneInNoise(std::size_t count, double noise, std::uint32_t seed,
                                const std::vector<std::complex<double>>& gains = {}) {
  testsignal::GaussianNoise random(seed);
  std::vector<double> samples(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::complex<double> tone =
        1000.0 * std::polar(1.0, 2 * std::numbers::pi * 1500.0 * static_cast<double>(i) / Rate);
    samples[i] = (gains.empty() ? tone : tone * gains[i]).real() + noise * random.Next();
  }
  return samples;
}

// Indexes of the input that came out blanked.
std::vector<std::size_t> Blanked(const std::vector<double>& input) {
  std::vector<double> output = input;
  NoiseBlanker blanker;
  blanker.Process(output);
  std::vector<std::size_t> blanked;
  for (std::size_t i = NoiseBlanker::LookAhead; i < output.size(); ++i) {
    const double original = input[i - NoiseBlanker::LookAhead];
    if (output[i] == 0.0 && original != 0.0) {
      blanked.push_back(i - NoiseBlanker::LookAhead);
    } else {
      EXPECT_EQ(output[i], original) << "sample " << i << " changed";
    }
  }
  return blanked;
}

TEST(NoiseBlanker, BlanksABurstFromItsFirstSampleToItsEndAndNothingElse) {
  std::vector<double> input = ToneInNoise(4410 * 3, 2000.0, 11);
  // A 10 ms burst 20 dB over the station, starting mid-way through a bit.
  constexpr std::size_t Start = 6000, Length = 44;
  testsignal::GaussianNoise burst(12);
  for (std::size_t i = Start; i < Start + Length; ++i)
    input[i] += 10 * 1000.0 * burst.Next();
  const std::vector<std::size_t> blanked = Blanked(input);
  ASSERT_FALSE(blanked.empty());
  EXPECT_LE(blanked.front(), Start);
  EXPECT_GE(blanked.back(), Start + Length - 1);
  EXPECT_LE(blanked.back() - blanked.front(), Length + 24);
  EXPECT_EQ(blanked.size(), blanked.back() - blanked.front() + 1);
}

TEST(NoiseBlanker, LeavesFadesAloneAndFollowsAStationStartingLoud) {
  constexpr std::size_t Count = 4410 * 30;
  for (const double doppler : {0.1, 2.0}) {
    const testsignal::RayleighFading fading({.dopplerHz = doppler}, 22);
    const std::vector<std::size_t> blanked =
        Blanked(ToneInNoise(Count, 30.0, 23, fading.Gains(1 / Rate, Count)));
    EXPECT_TRUE(blanked.empty()) << blanked.size() << " samples at " << doppler << " Hz";
  }
  // Noise alone for two seconds, then the station 27 dB over it: only its first moment is lost.
  std::vector<std::complex<double>> gains(4410 * 4, 1.0);
  std::fill_n(gains.begin(), 4410 * 2, 0.0);
  const std::vector<std::size_t> blanked = Blanked(ToneInNoise(gains.size(), 30.0, 31, gains));
  ASSERT_FALSE(blanked.empty());
  EXPECT_GE(blanked.front() + NoiseBlanker::LookAhead, 4410u * 2);
  EXPECT_LT(blanked.back(), 4410u * 2 + 4410 / 20);
}

}  // namespace
}  // namespace seaherald
