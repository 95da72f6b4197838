#include "decoder/FirDesign.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace seaherald {

double BesselI0(double x) {
  // Power series sum ((x/2)^k / k!)^2; converges quickly for the betas used here (< 10).
  const double half = x / 2;
  double term = 1;
  double sum = 1;
  for (int k = 1; k < 500; ++k) {
    const double factor = half / k;
    term *= factor * factor;
    sum += term;
    if (term < sum * 1e-18) break;
  }
  return sum;
}

std::vector<double> KaiserWindow(std::size_t taps, double beta) {
  if (taps % 2 == 0) throw std::invalid_argument("Kaiser window needs an odd number of taps");
  const int centre = static_cast<int>(taps - 1) / 2;
  const double scale = BesselI0(beta);
  std::vector<double> window(taps);
  for (std::size_t k = 0; k < taps; ++k) {
    const double ratio = centre == 0 ? 0.0 : double(int(k) - centre) / centre;
    window[k] = BesselI0(beta * std::sqrt(1 - ratio * ratio)) / scale;
  }
  return window;
}

double IdealLowPass(int m, double cutoffHz, double rateHz) {
  if (m == 0) return 2 * cutoffHz / rateHz;
  return std::sin(2 * std::numbers::pi * cutoffHz * m / rateHz) / (std::numbers::pi * m);
}

std::vector<double> KaiserLowPass(std::size_t taps, double cutoffHz, double rateHz, double beta) {
  return KaiserBandPass(taps, 0.0, cutoffHz, rateHz, beta);
}

std::vector<double> KaiserBandPass(std::size_t taps, double lowerHz, double upperHz, double rateHz,
                                   double beta) {
  std::vector<double> coefficients = KaiserWindow(taps, beta);
  const int centre = static_cast<int>(taps - 1) / 2;
  for (std::size_t k = 0; k < taps; ++k) {
    const int m = int(k) - centre;
    const double lower = lowerHz > 0 ? IdealLowPass(m, lowerHz, rateHz) : 0.0;
    coefficients[k] *= IdealLowPass(m, upperHz, rateHz) - lower;
  }
  return coefficients;
}

}  // namespace seaherald
