#include "audio/SpectrumFft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <set>

namespace seaherald {
namespace {

int ReverseTenBits(int value) {
  int reversed = 0;
  for (int bit = 0; bit < 10; ++bit)
    reversed |= ((value >> bit) & 1) << (9 - bit);
  return reversed;
}

std::complex<double> NaiveDft(const FftArray& re, const FftArray& im, std::size_t bin) {
  std::complex<double> sum;
  for (std::size_t n = 0; n < FftSize; ++n) {
    const double angle =
        -2.0 * std::numbers::pi * static_cast<double>((n * bin) % FftSize) / FftSize;
    sum += std::complex<double>(re[n], im[n]) * std::polar(1.0, angle);
  }
  return sum;
}

TEST(SpectrumFftTables, BitReverseIsTheTenBitReversalPermutation) {
  const SpectrumFft fft;
  std::set<int> seen;
  for (int p = 0; p < static_cast<int>(FftSize); ++p) {
    EXPECT_EQ(fft.BitReverse()[p], ReverseTenBits(p)) << "position " << p;
    seen.insert(fft.BitReverse()[p]);
  }
  EXPECT_EQ(seen.size(), FftSize);
}

TEST(SpectrumFftTables, TwiddlesAreTheForwardRootsOfUnity) {
  const SpectrumFft fft;
  EXPECT_DOUBLE_EQ(fft.TwiddleCos()[0], 1.0);
  EXPECT_EQ(fft.TwiddleSin()[0], 0.0);
  EXPECT_NEAR(fft.TwiddleCos()[256], 0.0, 1e-15);
  EXPECT_DOUBLE_EQ(fft.TwiddleSin()[256], -1.0);
  EXPECT_NEAR(fft.TwiddleCos()[511], -std::cos(std::numbers::pi / 512), 1e-15);
}

TEST(SpectrumFftTransform, MatchesNaiveDftInBitReversedOrder) {
  FftArray re{};
  FftArray im{};
  for (std::size_t n = 0; n < FftSize; ++n) {
    re[n] = std::sin(0.37 * n) * 900.0 + static_cast<double>((n * 7919) % 113) - 56.0;
    im[n] = static_cast<double>((n * 104729) % 61) - 30.0;
  }
  const FftArray inRe = re;
  const FftArray inIm = im;
  const SpectrumFft fft;
  fft.Transform(re, im);
  for (std::size_t bin = 0; bin < FftSize; ++bin) {
    const std::complex<double> expected = NaiveDft(inRe, inIm, bin);
    const auto p = static_cast<std::size_t>(fft.BitReverse()[bin]);
    const double tolerance = 1e-9 * (1.0 + std::abs(expected)) + 1e-6;
    EXPECT_NEAR(re[p], expected.real(), tolerance) << "bin " << bin;
    EXPECT_NEAR(im[p], expected.imag(), tolerance) << "bin " << bin;
  }
}

TEST(SpectrumFftLevels, AreTwentyNaturalLogsOfTheMagnitudeInBinOrder) {
  const SpectrumFft fft;
  FftArray re{};
  FftArray im{};
  FftArray levels{};
  re.fill(1.0);
  im.fill(1.0);
  const auto five = static_cast<std::size_t>(fft.BitReverse()[5]);
  re[five] = 3.0;
  im[five] = -4.0;
  fft.LevelsInBinOrder(re, im, levels);
  EXPECT_DOUBLE_EQ(levels[5], 20.0 * std::log(5.0));
  EXPECT_DOUBLE_EQ(levels[6], 20.0 * std::log(std::sqrt(2.0)));
}

TEST(SpectrumFftLevels, AnExactlyZeroPartGivesLevelZero) {
  const SpectrumFft fft;
  FftArray re{};
  FftArray im{};
  FftArray levels{};
  re.fill(2.0);
  im.fill(2.0);
  re[static_cast<std::size_t>(fft.BitReverse()[3])] = 0.0;    // purely imaginary
  im[static_cast<std::size_t>(fft.BitReverse()[700])] = 0.0;  // purely real
  fft.LevelsInBinOrder(re, im, levels);
  EXPECT_EQ(levels[3], 0.0);
  EXPECT_EQ(levels[700], 0.0);
  EXPECT_DOUBLE_EQ(levels[4], 20.0 * std::log(std::sqrt(8.0)));
}

TEST(SpectrumFftLevels, ConstantInputLeavesEveryLevelZero) {
  // The sum lands purely real in bin 0 and every other bin is exactly zero.
  const SpectrumFft fft;
  FftArray re{};
  FftArray im{};
  FftArray levels{};
  re.fill(1.0);
  fft.Transform(re, im);
  EXPECT_EQ(re[0], 1024.0);
  fft.LevelsInBinOrder(re, im, levels);
  for (double level : levels)
    EXPECT_EQ(level, 0.0);
}

}  // namespace
}  // namespace seaherald
