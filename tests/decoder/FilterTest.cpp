#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <span>
#include <vector>

#include "decoder/BlockFir.h"
#include "decoder/DecoderFilters.h"
#include "decoder/FirDesign.h"

namespace seaherald {
namespace {

template <std::size_t N>
double Gain(const std::array<double, N>& c, double hz, double rate) {
  std::complex<double> sum = 0;
  for (std::size_t k = 0; k < N; ++k) {
    sum += c[k] * std::polar(1.0, -2 * std::numbers::pi * hz * double(k) / rate);
  }
  return std::abs(sum);
}

template <std::size_t N>
double Sum(const std::array<double, N>& c) {
  double sum = 0;
  for (double x : c)
    sum += x;
  return sum;
}

template <std::size_t N>
void ExpectSymmetric(const std::array<double, N>& c, double sign) {
  for (std::size_t k = 0; k < N; ++k)
    EXPECT_EQ(c[k], sign * c[N - 1 - k]) << "tap " << k;
}

TEST(FirDesign, BesselI0MatchesKnownValues) {
  EXPECT_DOUBLE_EQ(BesselI0(0), 1.0);
  EXPECT_NEAR(BesselI0(1), 1.2660658777520082, 1e-15);
  EXPECT_NEAR(BesselI0(5), 27.239871823604442, 1e-12);
}

TEST(FirDesign, KaiserWindowIsOneAtCentreAndSymmetric) {
  const std::vector<double> w = KaiserWindow(21, 4.0);
  EXPECT_DOUBLE_EQ(w[10], 1.0);
  EXPECT_NEAR(w[0], 1 / BesselI0(4.0), 1e-15);
  for (int k = 0; k < 21; ++k)
    EXPECT_EQ(w[k], w[20 - k]);
  EXPECT_THROW(KaiserWindow(20, 4.0), std::invalid_argument);
}

TEST(DecoderFilters, CheckValues) {
  const auto& decimation = DecimationFilter();
  EXPECT_NEAR(decimation[25], 0.0997732426, 1e-10);
  EXPECT_NEAR(decimation[0], 0.000259546915, 1e-12);
  EXPECT_NEAR(decimation[50], 0.000259546915, 1e-12);
  EXPECT_NEAR(ChannelFilter()[50], 0.0907029478, 1e-10);
  EXPECT_DOUBLE_EQ(HilbertFilter()[26], 0.635259354);
  EXPECT_NEAR(PostDetectionFilter()[50], 0.029478458, 1e-9);
  // The gain of the post-detection filter at 0 Hz scales every deviation.
  EXPECT_NEAR(Sum(PostDetectionFilter()), 1.0189, 1e-4);
}

TEST(DecoderFilters, LinearPhaseSymmetry) {
  ExpectSymmetric(DecimationFilter(), 1);
  ExpectSymmetric(ChannelFilter(), 1);
  ExpectSymmetric(PostDetectionFilter(), 1);
  ExpectSymmetric(HilbertFilter(), -1);
}

TEST(DecoderFilters, HilbertHasZerosAtCentreAndEvenOffsets) {
  const auto& c = HilbertFilter();
  for (int m = 0; m <= 25; m += 2) {
    EXPECT_EQ(c[25 + m], 0.0);
    EXPECT_EQ(c[25 - m], 0.0);
  }
  for (int m = 1; m <= 25; m += 2)
    EXPECT_GT(c[25 + m], 0.0) << m;
  EXPECT_DOUBLE_EQ(c[50], 0.00831235503);
  EXPECT_DOUBLE_EQ(c[0], -0.00831235503);
}

TEST(DecoderFilters, DecimationMaskPassesSignalBandAndStopsAliases) {
  const auto& c = DecimationFilter();
  for (double hz = 0; hz <= 1100; hz += 50)
    EXPECT_NEAR(Gain(c, hz, 44100), 1.0, 0.05) << hz;
  // Everything that would fold back onto 0..1100 Hz at 4410 Hz lies above 3310 Hz.
  for (double hz = 3800; hz <= 22050; hz += 50)
    EXPECT_LT(Gain(c, hz, 44100), 0.002) << hz;
}

TEST(DecoderFilters, ChannelMaskCentredOnShiftedCentre) {
  const auto& c = ChannelFilter();
  for (double hz = 1450; hz <= 1550; hz += 10)
    EXPECT_NEAR(Gain(c, hz, 4410), 1.0, 0.02) << hz;
  // The two tones sit at the band edges, equally weighted.
  EXPECT_NEAR(Gain(c, 1415, 4410), Gain(c, 1585, 4410), 1e-3);
  for (double hz = 0; hz <= 1300; hz += 10)
    EXPECT_LT(Gain(c, hz, 4410), 0.01) << hz;
  for (double hz = 1700; hz <= 2205; hz += 10)
    EXPECT_LT(Gain(c, hz, 4410), 0.01) << hz;
}

TEST(DecoderFilters, HilbertHasUnitGainAroundTheTones) {
  for (double hz = 1300; hz <= 1700; hz += 10) {
    EXPECT_NEAR(Gain(HilbertFilter(), hz, 4410), 1.0, 0.015) << hz;
  }
}

TEST(DecoderFilters, PostDetectionMaskKeepsBitRateAndStopsTones) {
  const auto& c = PostDetectionFilter();
  const double dc = Sum(c);
  EXPECT_NEAR(Gain(c, 65, 4410) / dc, 0.5, 0.02);  // the cut-off
  for (double hz = 0; hz <= 20; hz += 1)
    EXPECT_GT(Gain(c, hz, 4410) / dc, 0.95) << hz;
  // Kaiser design for 40 dB of attenuation.
  for (double hz = 120; hz <= 2205; hz += 5)
    EXPECT_LT(Gain(c, hz, 4410) / dc, 0.012) << hz;
}

// A plain FIR delay line shifted per sample, all taps.
template <int Taps>
class ShiftingFir {
 public:
  explicit ShiftingFir(const std::array<double, Taps>& c) : c_(c) {}
  double Step(double input) {
    std::copy_backward(line_.begin(), line_.end() - 1, line_.end());
    line_[0] = input;
    double sum = 0.0;
    for (int k = 0; k < Taps; ++k)
      sum += c_[k] * line_[k];
    return sum;
  }
  double Line(int k) const { return line_[k]; }

 private:
  std::array<double, Taps> c_;
  std::array<double, Taps> line_{};
};

template <int Taps, int Inputs, int Step>
void ExpectBlockFirMatchesShiftingLine(const std::array<double, Taps>& c) {
  BlockFir<Taps, Inputs, Step> block(c);
  ShiftingFir<Taps> plain(c);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-32768, 32767);
  for (int b = 0; b < 5; ++b) {
    std::span<double, Inputs> input = block.NextInput();
    for (double& x : input)
      x = b == 3 ? 0.0 : value(random);
    std::array<double, Inputs / Step> output;
    block.Run(output);
    for (int i = 0; i < Inputs; ++i) {
      const double expected = plain.Step(input[i]);
      if (i % Step != Step - 1) continue;
      const int j = i / Step;
      // Equal as values: a left-out zero tap may only change the sign of an exact zero.
      ASSERT_EQ(output[j], expected) << "block " << b << " output " << j;
      for (int k = 0; k < Taps; ++k)
        ASSERT_EQ(block.Line(j, k), plain.Line(k));
    }
  }
}

TEST(BlockFir, EqualsShiftingDelayLineSampleForSample) {
  ExpectBlockFirMatchesShiftingLine<51, 4410, 10>(DecimationFilter());
  ExpectBlockFirMatchesShiftingLine<101, 441, 1>(ChannelFilter());
  ExpectBlockFirMatchesShiftingLine<51, 441, 1>(HilbertFilter());
  ExpectBlockFirMatchesShiftingLine<101, 441, 1>(PostDetectionFilter());
  // Odd block lengths exercise the outputs left over after the side-by-side groups.
  ExpectBlockFirMatchesShiftingLine<51, 7, 1>(HilbertFilter());
  ExpectBlockFirMatchesShiftingLine<3, 9, 3>({0.25, 0.0, -0.5});
}

TEST(BlockFir, LeavesOutExactlyTheZeroTaps) {
  EXPECT_EQ((BlockFir<51, 441>(HilbertFilter()).ActiveTapCount()), 26);
  EXPECT_EQ((BlockFir<101, 441>(ChannelFilter()).ActiveTapCount()), 101);
  EXPECT_EQ((BlockFir<101, 441>(PostDetectionFilter()).ActiveTapCount()), 101);
  EXPECT_EQ((BlockFir<51, 4410, 10>(DecimationFilter()).ActiveTapCount()), 51);
}

}  // namespace
}  // namespace seaherald
