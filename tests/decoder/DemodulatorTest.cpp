#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

#include "decoder/BitClock.h"
#include "decoder/DecoderFilters.h"
#include "decoder/Demodulator.h"
#include "decoder/HilbertPhase.h"
#include "tests/decoder/DemodulatorHarness.h"
#include "tests/decoder/FskTestSignal.h"

namespace seaherald {
namespace {

using test::Bits;
using test::DemodulatorHarness;
using test::FskAudio;
using test::FskOptions;
using test::ToneAudio;

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr double RadPerSamplePerHz = TwoPi / 4410.0;

double PostDetectionGain() {
  const auto& c = PostDetectionFilter();
  return std::accumulate(c.begin(), c.end(), 0.0);
}

Bits RandomBits(std::size_t count, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bits bits(count);
  for (auto& bit : bits)
    bit = static_cast<std::uint8_t>(random() & 1);
  return bits;
}

TEST(BitClock, ResonatorCoefficientsFromTheirParameters) {
  EXPECT_EQ(BitClock::A1(), 1.9794529012190083);
  EXPECT_EQ(BitClock::A2(), -0.9997150888802726);
  EXPECT_EQ(BitClock::Gain(), 1.419943179576268e-07);
}

TEST(BitClock, EmptyHistoryGivesARisingLevelAtTheFirstSample) {
  BitClock clock;
  EXPECT_EQ(clock.Level(), 0);
  EXPECT_TRUE(clock.Step(0.5));
  EXPECT_EQ(clock.Level(), 10);
}

TEST(HilbertPhase, ExactZeroComponentGivesPhaseZero) {
  EXPECT_EQ(HilbertPhase(0.0, 0.0), 0.0);
  EXPECT_EQ(HilbertPhase(0.0, -1.0), 0.0);   // atan2 would say pi
  EXPECT_EQ(HilbertPhase(-0.0, -0.0), 0.0);  // atan2 would say -pi
  EXPECT_EQ(HilbertPhase(2.0, 0.0), 0.0);    // atan2 would say pi/2
  EXPECT_EQ(HilbertPhase(-2.0, -0.0), 0.0);
  EXPECT_DOUBLE_EQ(HilbertPhase(1.0, 1.0), std::numbers::pi / 4);
  EXPECT_DOUBLE_EQ(HilbertPhase(1e-300, -1.0), std::numbers::pi);
}

TEST(HilbertPhase, DeviationWrapsAndIsPositiveAboveTheCentre) {
  const double step85 = CentrePhaseStep + 85 * RadPerSamplePerHz;
  EXPECT_NEAR(PhaseDeviation(0.1, 0.1 - step85), 85 * RadPerSamplePerHz, 1e-12);
  EXPECT_NEAR(PhaseDeviation(-3.0, -3.0 - step85 + TwoPi), 85 * RadPerSamplePerHz, 1e-12);
  const double stepBelow = CentrePhaseStep - 85 * RadPerSamplePerHz;
  EXPECT_NEAR(PhaseDeviation(2.0, 2.0 - stepBelow), -85 * RadPerSamplePerHz, 1e-12);
  // Phase standing still reads as 1500 Hz below the shifted centre.
  EXPECT_EQ(PhaseDeviation(0.0, 0.0), -CentrePhaseStep);
}

// A steady tone 85 Hz above or below the centre gives 85 Hz of deviation times the filter's gain
// at 0 Hz, at every sample once settled, the first sample of each block included.
TEST(Demodulator, SteadyTonesGiveNominalDeviationAcrossBlockBoundaries) {
  for (double sign : {+1.0, -1.0}) {
    DemodulatorHarness harness;
    const std::vector<double> audio = ToneAudio(800 + sign * 85, 10 * BlockFrames, 10000);
    const double expected = sign * 85 * RadPerSamplePerHz * PostDetectionGain();
    EXPECT_NEAR(expected, sign * 0.1234, 5e-4);
    for (int b = 0; b < 10; ++b) {
      harness.Block(audio, std::size_t(b) * BlockFrames);
      if (b < 2) continue;
      for (int j = 0; j < DecimatedBlockSamples; ++j) {
        ASSERT_NEAR(harness.demodulator.Deviation()[j], expected, 2e-3) << b << " " << j;
      }
    }
  }
}

TEST(Demodulator, SteadyToneStopsYieldingBitsOnceTheClockRingsDown) {
  DemodulatorHarness harness;
  const std::vector<double> audio = ToneAudio(885, 150 * BlockFrames, 10000);
  int lastBlockWithBits = -1;
  for (int b = 0; b < 150; ++b) {
    harness.Block(audio, std::size_t(b) * BlockFrames);
    if (harness.demodulator.BlockBitCount() > 0) lastBlockWithBits = b;
  }
  EXPECT_LT(lastBlockWithBits, 140);
  EXPECT_EQ(harness.demodulator.BlockBitCount(), 0);
  EXPECT_EQ(harness.outputs.TuningOffset, 0.0);
}

TEST(Demodulator, FirstSampleAfterStartYieldsABit) {
  DemodulatorHarness harness;
  harness.Block({}, 0);  // silence
  const Demodulator& d = harness.demodulator;
  ASSERT_GE(d.BlockBitCount(), 1);
  // The first bit is the one sampled at sample 0: its error is that sample's deviation in Hz.
  const double deviationHz = d.Deviation()[0] / (TwoPi * Demodulator::SamplePeriod);
  const bool one = d.Deviation()[0] >= 0;
  EXPECT_EQ(d.BlockBits()[0], one ? 1 : 0);
  EXPECT_EQ(d.BitErrorHz()[0], one ? deviationHz - 85 : deviationHz + 85);
}

TEST(Demodulator, TuningOffsetIsZeroWhenTheResonatorPeakIsTooLow) {
  DemodulatorHarness harness;
  harness.Block({}, 0);
  const Demodulator& d = harness.demodulator;
  ASSERT_GE(d.BlockBitCount(), 1);
  const double meanError =
      std::accumulate(d.BitErrorHz().begin(), d.BitErrorHz().end(), 0.0) / d.BlockBitCount();
  EXPECT_GT(std::fabs(meanError), 1.0);
  EXPECT_LE(harness.outputs.ResonatorPeak * 10000, 0.1);
  EXPECT_EQ(harness.outputs.TuningOffset, 0.0);
}

TEST(Demodulator, SilenceFollowsTheExactZeroRule) {
  DemodulatorHarness harness;
  for (int b = 0; b < 3; ++b)
    harness.Block({}, 0);
  // Every phase is 0, so each raw deviation is minus the centre step, filtered at 0 Hz gain.
  for (double d : harness.demodulator.Deviation()) {
    ASSERT_NEAR(d, -CentrePhaseStep * PostDetectionGain(), 1e-12);
  }
  EXPECT_EQ(harness.demodulator.LastPhase(), 0.0);
  for (double s : harness.outputs.DisplaySamples)
    EXPECT_EQ(s, 0.0);
}

TEST(Demodulator, TuningOffsetMeasuresACommonOffsetOfBothTones) {
  for (double offset : {-10.0, 0.0, 5.0}) {
    DemodulatorHarness harness;
    FskOptions options;
    options.offsetHz = offset;
    const std::vector<double> audio = FskAudio(RandomBits(500, 3), options);
    double sum = 0;
    int blocks = 0;
    for (int b = 0; b < 50; ++b) {
      harness.Block(audio, std::size_t(b) * BlockFrames);
      if (b < 20) continue;
      sum += harness.outputs.TuningOffset;
      ++blocks;
    }
    EXPECT_NEAR(sum / blocks, offset, 1.0) << offset;
  }
}

// The clock settles within a couple of seconds of a signal with transitions; from then on every
// transmitted bit comes out, at any centre of the settings' range, with or without noise.
struct ClockScenario {
  double centerHz;
  double offsetHz;
  double noise;
  int leadIn;
};

class DemodulatorClock : public testing::TestWithParam<ClockScenario> {};

TEST_P(DemodulatorClock, RecoversEveryBitAfterSettling) {
  const ClockScenario scenario = GetParam();
  const Bits sent = RandomBits(600, 11);
  FskOptions options;
  options.centerHz = scenario.centerHz;
  options.offsetHz = scenario.offsetHz;
  options.noiseStdDev = scenario.noise;
  options.leadInSamples = scenario.leadIn;
  DemodulatorHarness harness;
  harness.centerFrequency = scenario.centerHz;
  const Bits received = harness.All(FskAudio(sent, options));
  // The last 350 bits sent must appear, in order and without error, in what was received.
  const Bits tail(sent.end() - 350, sent.end() - 5);
  EXPECT_NE(std::search(received.begin(), received.end(), tail.begin(), tail.end()),
            received.end());
}

INSTANTIATE_TEST_SUITE_P(Scenarios, DemodulatorClock,
                         testing::Values(ClockScenario{800, 0, 0, 0}, ClockScenario{200, 0, 0, 100},
                                         ClockScenario{1000, 0, 0, 220},
                                         ClockScenario{500, 8, 0, 300},
                                         ClockScenario{800, -8, 2000, 17},
                                         ClockScenario{650, 0, 3000, 400}));

TEST(Demodulator, CentreFrequencyChangeActsAtTheNextSampleWithoutPhaseJump) {
  DemodulatorHarness harness;
  const std::vector<double> silence;
  harness.Block(silence, 0);
  const double before = harness.demodulator.MixerPhase();
  harness.centerFrequency = 900;
  harness.Block(silence, 0);
  const double advance = 441 * (1500 - 900) * TwoPi / 4410;
  EXPECT_NEAR(std::remainder(harness.demodulator.MixerPhase() - before - advance, TwoPi), 0.0,
              1e-9);
  // A tone 85 Hz above the new centre then reads as +85 Hz.
  const std::vector<double> audio = ToneAudio(985, 5 * BlockFrames, 10000);
  for (int b = 0; b < 5; ++b)
    harness.Block(audio, std::size_t(b) * BlockFrames);
  EXPECT_NEAR(harness.demodulator.Deviation()[440], 85 * RadPerSamplePerHz * PostDetectionGain(),
              2e-3);
}

TEST(Demodulator, LeavesTheDecimatedSamplesInTheBlock) {
  DemodulatorHarness harness;
  const std::vector<double> audio = ToneAudio(700, BlockFrames, 20000);
  harness.Block(audio, 0);
  // With the mixer's cosine divided out, the display samples give back the decimated input.
  double phase = 0;
  for (int j = 0; j < DecimatedBlockSamples; ++j) {
    phase += (1500 - 800) * TwoPi * Demodulator::SamplePeriod;
    if (phase >= TwoPi) phase -= TwoPi;
    EXPECT_EQ(harness.outputs.DisplaySamples[j], harness.block[j] * std::cos(phase));
  }
  // A 700 Hz tone passes the decimation filter almost unchanged.
  EXPECT_NEAR(*std::max_element(harness.block.begin() + 100, harness.block.begin() + 441), 20000,
              300);
}

TEST(Demodulator, NonFiniteAndOutOfRangeSamplesDoNotPoisonTheFilters) {
  DemodulatorHarness harness;
  std::vector<double> bad(BlockFrames, std::numeric_limits<double>::quiet_NaN());
  bad[5] = std::numeric_limits<double>::infinity();
  bad[6] = -1e300;
  harness.Block(bad, 0);
  const std::vector<double> audio = ToneAudio(715, 5 * BlockFrames, 10000);
  for (int b = 0; b < 5; ++b)
    harness.Block(audio, std::size_t(b) * BlockFrames);
  for (double d : harness.demodulator.Deviation()) {
    ASSERT_NEAR(d, -85 * RadPerSamplePerHz * PostDetectionGain(), 2e-3);
  }
  EXPECT_TRUE(std::isfinite(harness.outputs.TuningOffset));
}

}  // namespace
}  // namespace seaherald
