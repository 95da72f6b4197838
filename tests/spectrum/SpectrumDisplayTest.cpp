#include "audio/Spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace seaherald {
namespace {

constexpr Rgb Black{0, 0, 0};
constexpr Rgb Grey{128, 128, 128};
constexpr Rgb Lime{0, 255, 0};
constexpr Rgb Green{0, 128, 0};

constexpr int LeftArrowTipX = 67;
constexpr int SquareX = 74;
constexpr int RightArrowTipX = 81;
constexpr int LampRow = 3;

RgbBitmap DrawnBitmap(const FftArray& levels, double tuningOffset) {
  RgbBitmap bitmap(SpectrumBitmapWidth, SpectrumBitmapHeight);
  DrawSpectrumLevels(levels, tuningOffset, bitmap);
  return bitmap;
}

bool InLampArea(int x, int y) {
  return x >= 67 && x <= 81 && y <= 6;
}

// Topmost lime trace row of a column, or the height when the column shows no trace.
int BarTop(const RgbBitmap& bitmap, int x) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    if (!InLampArea(x, y) && bitmap.Pixel(x, y) == Lime) return y;
  }
  return bitmap.Height();
}

TEST(SpectrumHistory, SilenceGivesAllLevelsZero) {
  Spectrum spectrum;
  const std::array<double, DisplayBlockSamples> silence{};
  for (int block = 0; block < 3; ++block)
    spectrum.UpdateSpectrum(silence);
  for (double level : spectrum.SpectrumLevels())
    EXPECT_EQ(level, 0.0);
}

TEST(SpectrumHistory, HannWindowIsPeriodic) {
  const Spectrum spectrum;
  EXPECT_EQ(spectrum.HannWindow()[0], 0.0);
  EXPECT_DOUBLE_EQ(spectrum.HannWindow()[512], 1.0);
  EXPECT_DOUBLE_EQ(spectrum.HannWindow()[256], spectrum.HannWindow()[768]);
  EXPECT_GT(spectrum.HannWindow()[1023], 0.0);
}

TEST(SpectrumHistory, PureToneAt1415HzPeaksAtBin328Or329AndColumn36) {
  Spectrum spectrum;
  std::array<double, DisplayBlockSamples> block{};
  std::size_t n = 0;
  for (int blocks = 0; blocks < 3; ++blocks) {
    for (double& sample : block) {
      sample =
          1000.0 * std::sin(2.0 * std::numbers::pi * 1415.0 * static_cast<double>(n++) / 4410.0);
    }
    spectrum.UpdateSpectrum(block);
  }
  const FftArray& levels = spectrum.SpectrumLevels();
  const auto peak = std::max_element(levels.begin(), levels.begin() + 512) - levels.begin();
  EXPECT_TRUE(peak == 328 || peak == 329) << "peak bin " << peak;

  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  const int peakTop = BarTop(bitmap, 36);
  EXPECT_LT(peakTop, SpectrumBitmapHeight);
  for (int x = 0; x < SpectrumBitmapWidth; ++x) {
    if (x != 36) {
      EXPECT_GT(BarTop(bitmap, x), peakTop) << "column " << x;
    }
  }
}

TEST(SpectrumHistory, NewestBlockComesFirstAndOldSamplesSlideBack) {
  // A block of ones followed by two silent blocks leaves the ones at positions 882-1023,
  // where the window is small but not zero: the levels are no longer all zero.
  Spectrum spectrum;
  std::array<double, DisplayBlockSamples> ones{};
  ones.fill(1.0);
  const std::array<double, DisplayBlockSamples> silence{};
  spectrum.UpdateSpectrum(ones);
  spectrum.UpdateSpectrum(silence);
  spectrum.UpdateSpectrum(silence);
  const FftArray& levels = spectrum.SpectrumLevels();
  EXPECT_TRUE(std::any_of(levels.begin(), levels.end(), [](double l) { return l != 0.0; }));
  spectrum.UpdateSpectrum(silence);
  for (double level : spectrum.SpectrumLevels())
    EXPECT_EQ(level, 0.0);
}

TEST(SpectrumHistory, HoldsTheNewestBlockFirstEachInItsOwnTimeOrder) {
  // Block k holds k * 1000 + its sample index, so every value tells where it came from.
  Spectrum spectrum;
  const auto block = [](int k) {
    std::array<double, DisplayBlockSamples> samples{};
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = k * 1000.0 + static_cast<double>(i);
    return samples;
  };
  spectrum.UpdateSpectrum(block(1));
  const FftArray& history = spectrum.SpectrumHistory();
  EXPECT_EQ(history[0], 1000.0);
  EXPECT_EQ(history[440], 1440.0);
  EXPECT_TRUE(std::all_of(history.begin() + 441, history.end(), [](double v) { return v == 0.0; }));

  for (int k = 2; k <= 4; ++k)
    spectrum.UpdateSpectrum(block(k));
  // 0-440 the current block, 441-881 the one before, 882-1023 the first 142 of the one before that.
  for (std::size_t i = 0; i < FftSize; ++i) {
    const std::size_t age = i / DisplayBlockSamples;
    const double expected = (4.0 - static_cast<double>(age)) * 1000.0 +
                            static_cast<double>(i - age * DisplayBlockSamples);
    ASSERT_EQ(history[i], expected) << "position " << i;
  }
  EXPECT_EQ(history[1023], 2141.0);
}

TEST(SpectrumPicture, SilenceShowsOnlyMarkersAndTheLitCentreSquare) {
  const RgbBitmap bitmap = DrawnBitmap(FftArray{}, 0.0);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const Rgb pixel = bitmap.Pixel(x, y);
      if (x == 36 || x == 49) {
        EXPECT_EQ(pixel, (y / 3) % 2 == 0 ? Grey : Black) << x << "," << y;
      } else if (!InLampArea(x, y)) {
        EXPECT_EQ(pixel, Black) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(bitmap.Pixel(SquareX, LampRow), Lime);
  EXPECT_EQ(bitmap.Pixel(LeftArrowTipX, LampRow), Green);
  EXPECT_EQ(bitmap.Pixel(RightArrowTipX, LampRow), Green);
}

TEST(SpectrumPicture, LampShapesHaveTheirPixelCounts) {
  const RgbBitmap bitmap = DrawnBitmap(FftArray{}, 0.0);
  int lime = 0;
  int green = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      lime += bitmap.Pixel(x, y) == Lime ? 1 : 0;
      green += bitmap.Pixel(x, y) == Green ? 1 : 0;
    }
  }
  EXPECT_EQ(lime, 3 * 7);    // centre square, right and bottom edges exclusive
  EXPECT_EQ(green, 2 * 16);  // two arrows of 1 + 3 + 5 + 7 pixels
  EXPECT_EQ(bitmap.Pixel(73, 6), Lime);
  EXPECT_EQ(bitmap.Pixel(76, 0), Black);
  EXPECT_EQ(bitmap.Pixel(73, 7), Black);
  EXPECT_EQ(bitmap.Pixel(70, 0), Green);
  EXPECT_EQ(bitmap.Pixel(78, 6), Green);
}

struct LampCase {
  double tuningOffset;
  int litX;
};

class SpectrumLampThreshold : public ::testing::TestWithParam<LampCase> {};

TEST_P(SpectrumLampThreshold, LightsExactlyOneLamp) {
  const RgbBitmap bitmap = DrawnBitmap(FftArray{}, GetParam().tuningOffset);
  for (int x : {LeftArrowTipX, SquareX, RightArrowTipX}) {
    EXPECT_EQ(bitmap.Pixel(x, LampRow), x == GetParam().litX ? Lime : Green) << "lamp at " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(DeadBandEdges, SpectrumLampThreshold,
                         ::testing::Values(LampCase{-5.0, SquareX}, LampCase{5.0, SquareX},
                                           LampCase{-5.01, LeftArrowTipX},
                                           LampCase{5.01, RightArrowTipX},
                                           LampCase{-400.0, LeftArrowTipX},
                                           LampCase{400.0, RightArrowTipX}));

TEST(SpectrumPicture, LevelOfAThousandFillsTheWholeColumn) {
  FftArray levels{};
  levels[220 + 3 * 10] = 1000.0;  // column 10
  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  for (int y = 0; y < bitmap.Height(); ++y)
    EXPECT_EQ(bitmap.Pixel(10, y), Lime) << "row " << y;
  EXPECT_EQ(BarTop(bitmap, 9), bitmap.Height());
  EXPECT_EQ(BarTop(bitmap, 11), bitmap.Height());
}

TEST(SpectrumPicture, BarHeightFollowsTheLevelInStepsOfSix) {
  // End row = 23 - trunc(level / 6) + 25; the end point itself is not drawn.
  FftArray levels{};
  levels[220] = 161.9;         // end row 22: nothing visible
  levels[220 + 3] = 162.0;     // end row 21: bottom row only
  levels[220 + 6] = 6.0 * 40;  // end row 8: rows 9-22
  levels[220 + 9] = -600.0;    // below the picture
  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  EXPECT_EQ(BarTop(bitmap, 0), 23);
  EXPECT_EQ(BarTop(bitmap, 1), 22);
  EXPECT_EQ(BarTop(bitmap, 2), 9);
  EXPECT_EQ(BarTop(bitmap, 3), 23);
}

TEST(SpectrumPicture, ThreeBinsShareAColumnAndTheTallestShows) {
  FftArray levels{};
  levels[220 + 3 * 20] = 6.0 * 30;
  levels[220 + 3 * 20 + 1] = 6.0 * 45;
  levels[220 + 3 * 20 + 2] = 6.0 * 35;
  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  EXPECT_EQ(BarTop(bitmap, 20), 23 - 45 + 25 + 1);
}

TEST(SpectrumPicture, TraceCoversMarkersButLampsCoverTrace) {
  FftArray levels{};
  levels.fill(1000.0);
  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  EXPECT_EQ(bitmap.Pixel(36, 0), Lime);
  EXPECT_EQ(bitmap.Pixel(LeftArrowTipX, LampRow), Green);
  EXPECT_EQ(bitmap.Pixel(68, 0), Lime);  // outside the arrow's outline
  EXPECT_EQ(bitmap.Pixel(83, 22), Lime);
}

TEST(SpectrumPicture, BinsBeyondTheLastColumnAreNotDrawn) {
  FftArray levels{};
  for (std::size_t bin = 472; bin < FftSize; ++bin)
    levels[bin] = 1000.0;
  levels[219] = 1000.0;
  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  for (int x = 0; x < bitmap.Width(); ++x)
    EXPECT_EQ(BarTop(bitmap, x), 23) << "column " << x;
}

TEST(SpectrumPicture, NonFiniteLevelsDoNotBreakThePicture) {
  FftArray levels{};
  levels[220] = std::nan("");
  levels[223] = INFINITY;
  levels[226] = -INFINITY;
  const RgbBitmap bitmap = DrawnBitmap(levels, 0.0);
  EXPECT_EQ(BarTop(bitmap, 0), 23);
  EXPECT_EQ(bitmap.Pixel(1, 0), Lime);
  EXPECT_EQ(BarTop(bitmap, 2), 23);
}

}  // namespace
}  // namespace seaherald
