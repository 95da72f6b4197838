#pragma once

#include <array>
#include <cstddef>

namespace seaherald {

inline constexpr std::size_t FftSize = 1024;

using FftArray = std::array<double, FftSize>;

// The tuning display's 1024-point transform: radix-2 decimation in frequency over tables built
// once, so that each block costs only the butterflies.
class SpectrumFft {
 public:
  SpectrumFft();

  // In place, input in natural order, output in bit-reversed order, no scaling; the forward
  // direction, X(b) = sum x(n) exp(-2 pi i n b / 1024).
  void Transform(FftArray& re, FftArray& im) const;

  // Levels of a transformed block in natural bin order: 20 ln|X|, or 0 where the real or the
  // imaginary part is exactly zero (which also keeps ln(0) out).
  void LevelsInBinOrder(const FftArray& re, const FftArray& im, FftArray& levels) const;

  const std::array<int, FftSize>& BitReverse() const { return bitReverse_; }
  const std::array<double, FftSize / 2>& TwiddleCos() const { return twiddleCos_; }
  const std::array<double, FftSize / 2>& TwiddleSin() const { return twiddleSin_; }

 private:
  std::array<int, FftSize> bitReverse_{};
  std::array<double, FftSize / 2> twiddleCos_{};
  std::array<double, FftSize / 2> twiddleSin_{};
};

}  // namespace seaherald
