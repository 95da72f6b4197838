#include "audio/SpectrumFft.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace seaherald {

SpectrumFft::SpectrumFft() {
  bitReverse_[0] = 0;
  for (std::size_t m = 1, h = FftSize / 2; m < FftSize; m *= 2, h /= 2) {
    for (std::size_t j = 0; j < m; ++j)
      bitReverse_[j + m] = bitReverse_[j] + static_cast<int>(h);
  }
  for (std::size_t k = 0; k < FftSize / 2; ++k) {
    const double angle = 2.0 * std::numbers::pi * static_cast<double>(k) / FftSize;
    twiddleCos_[k] = std::cos(angle);
    twiddleSin_[k] = -std::sin(angle);
  }
}

void SpectrumFft::Transform(FftArray& re, FftArray& im) const {
  for (std::size_t half = FftSize / 2, step = 1; step < FftSize; half /= 2, step *= 2) {
    for (std::size_t start = 0; start < FftSize; start += 2 * half) {
      std::size_t k = 0;
      for (std::size_t u = start; u < start + half; ++u, k += step) {
        const std::size_t v = u + half;
        const double dRe = re[u] - re[v];
        const double dIm = im[u] - im[v];
        re[u] += re[v];
        im[u] += im[v];
        re[v] = dRe * twiddleCos_[k] - dIm * twiddleSin_[k];
        im[v] = dRe * twiddleSin_[k] + dIm * twiddleCos_[k];
      }
    }
  }
}

void SpectrumFft::LevelsInBinOrder(const FftArray& re, const FftArray& im, FftArray& levels) const {
  for (std::size_t p = 0; p < FftSize; ++p) {
    levels[p] = (re[p] == 0.0 || im[p] == 0.0)
                    ? 0.0
                    : 20.0 * std::log(std::sqrt(re[p] * re[p] + im[p] * im[p]));
  }
  for (std::size_t p = 0; p < FftSize; ++p) {
    const auto q = static_cast<std::size_t>(bitReverse_[p]);
    if (q > p) std::swap(levels[p], levels[q]);
  }
}

}  // namespace seaherald
