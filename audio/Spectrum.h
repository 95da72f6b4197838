#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "audio/RgbBitmap.h"
#include "audio/SpectrumFft.h"

namespace seaherald {

// Decimated samples the decoder leaves per block for the display (4410 Hz, 0.1 s).
inline constexpr std::size_t DisplayBlockSamples = 441;
// Size of the display picture with the main window's layout.
inline constexpr int SpectrumBitmapWidth = 84;
inline constexpr int SpectrumBitmapHeight = 23;

// Paints the picture from bin levels and the decoder's tuning error (Hz): black ground, dotted
// markers under the two tones, one trace column per three bins, and the three tuning lamps.
void DrawSpectrumLevels(const FftArray& levels, double tuningOffset, RgbBitmap& bitmap);

// The live spectrum and tuning indicator of the tool bar: keeps the last 1024 decimated samples,
// turns them into bin levels once per block and paints them with the tone markers and lamps.
class Spectrum {
 public:
  Spectrum();

  // Slides the history by one block, newest block first, and recomputes `SpectrumLevels`.
  void UpdateSpectrum(std::span<const double, DisplayBlockSamples> displaySamples);

  // Repaints the whole picture from the current levels and the decoder's tuning error (Hz).
  void DrawSpectrum(double tuningOffset, RgbBitmap& bitmap) const;

  // Bin b stands for b * 4410 / 1024 Hz of the shifted signal.
  const FftArray& SpectrumLevels() const { return levels_; }
  // The last 1024 decimated samples the levels are taken from, newest block first.
  const FftArray& SpectrumHistory() const { return history_; }
  const FftArray& HannWindow() const { return hannWindow_; }

 private:
  SpectrumFft fft_;
  FftArray hannWindow_{};
  FftArray history_{};
  FftArray workRe_{};
  FftArray workIm_{};
  FftArray levels_{};
};

}  // namespace seaherald
