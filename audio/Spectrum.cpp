#include "audio/Spectrum.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace seaherald {

namespace {

constexpr Rgb Black{0, 0, 0};
constexpr Rgb Grey{128, 128, 128};
constexpr Rgb Lime{0, 255, 0};
constexpr Rgb Green{0, 128, 0};

// The two tone markers sit where 1500 -/+ 85 Hz fall after the decoder's mixer.
constexpr int LowToneColumn = 36;
constexpr int HighToneColumn = 49;
// 256 bins from bin 220 (about 948 Hz), three to a column.
constexpr int FirstDrawnBin = 220;
constexpr int DrawnBins = 256;
constexpr int BinsPerColumn = 3;
constexpr int LevelPerPixel = 6;
constexpr int BaselineLift = 25;

// Tuning lamps: left arrow, centre square, right arrow.
constexpr std::array<PixelPoint, 3> LeftArrow{{{67, 3}, {70, 0}, {70, 6}}};
constexpr std::array<PixelPoint, 3> RightArrow{{{81, 3}, {78, 0}, {78, 6}}};
constexpr int SquareLeft = 73, SquareTop = 0, SquareRight = 76, SquareBottom = 7;
constexpr double TuningDeadBand = 5.0;  // Hz either side of exact tuning

// Row the trace line of one bin runs up to (its end point, not itself drawn). Out-of-range levels
// are held to a range that still fills or empties the column, so the cast stays defined.
int TraceEndRow(double level, int height) {
  constexpr double Limit = 1.0e6;
  const double pixels = std::isnan(level) ? 0.0 : std::clamp(level / LevelPerPixel, -Limit, Limit);
  return height - static_cast<int>(std::trunc(pixels)) + BaselineLift;
}

void DrawLamps(RgbBitmap& bitmap, double tuningOffset) {
  bitmap.FillConvexPolygon(LeftArrow, Green);
  bitmap.FillRect(SquareLeft, SquareTop, SquareRight, SquareBottom, Green);
  bitmap.FillConvexPolygon(RightArrow, Green);
  if (tuningOffset < -TuningDeadBand) {
    bitmap.FillConvexPolygon(LeftArrow, Lime);
  } else if (tuningOffset > TuningDeadBand) {
    bitmap.FillConvexPolygon(RightArrow, Lime);
  } else {
    bitmap.FillRect(SquareLeft, SquareTop, SquareRight, SquareBottom, Lime);
  }
}

}  // namespace

Spectrum::Spectrum() {
  for (std::size_t i = 0; i < FftSize; ++i) {
    hannWindow_[i] =
        0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / FftSize);
  }
}

void Spectrum::UpdateSpectrum(std::span<const double, DisplayBlockSamples> displaySamples) {
  std::copy_backward(history_.begin(), history_.end() - DisplayBlockSamples, history_.end());
  std::copy(displaySamples.begin(), displaySamples.end(), history_.begin());
  for (std::size_t i = 0; i < FftSize; ++i) {
    workRe_[i] = history_[i] * hannWindow_[i];
    workIm_[i] = 0.0;
  }
  fft_.Transform(workRe_, workIm_);
  fft_.LevelsInBinOrder(workRe_, workIm_, levels_);
}

void Spectrum::DrawSpectrum(double tuningOffset, RgbBitmap& bitmap) const {
  DrawSpectrumLevels(levels_, tuningOffset, bitmap);
}

void DrawSpectrumLevels(const FftArray& levels, double tuningOffset, RgbBitmap& bitmap) {
  const int height = bitmap.Height();
  bitmap.FillRect(0, 0, bitmap.Width(), height, Black);
  bitmap.VerticalLine(LowToneColumn, 0, height, Grey, true);
  bitmap.VerticalLine(HighToneColumn, 0, height, Grey, true);
  for (int l = 0; l < DrawnBins; ++l) {
    const int x = l / BinsPerColumn;
    const double level = levels[static_cast<std::size_t>(FirstDrawnBin + l)];
    bitmap.VerticalLine(x, height, TraceEndRow(level, height), Lime);
  }
  DrawLamps(bitmap, tuningOffset);
}

}  // namespace seaherald
