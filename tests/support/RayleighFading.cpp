#include "tests/support/RayleighFading.h"

#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>

namespace seaherald::testsignal {
namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr std::size_t AnchorEvery = 1024;

double Uniform(std::mt19937& engine) {
  return (static_cast<double>(engine()) + 0.5) / 4294967296.0;
}

// Term n of Terms draws its Doppler frequency from the n-th equal slice of the spectrum's
// probability, at a random place within it: the spectrum is covered evenly whatever the seed.
double DopplerFrequency(const RayleighParameters& parameters, int n, double jitter) {
  const double slice = (n + jitter) / RayleighFading::Terms;
  if (parameters.spectrum == DopplerSpectrum::Clarke) {
    // Arrival angles spread evenly round the receiver.
    return parameters.dopplerHz * std::cos(TwoPi * slice);
  }
  return parameters.dopplerHz / 2.0 * NormalQuantile(slice);
}

}  // namespace

double NormalQuantile(double p) {
  // Bisection on the distribution function: slow but plain, and only called a few times.
  double low = -40.0;
  double high = 40.0;
  for (int step = 0; step < 200 && high - low > 1e-13; ++step) {
    const double middle = (low + high) / 2.0;
    (0.5 * std::erfc(-middle / std::numbers::sqrt2) < p ? low : high) = middle;
  }
  return (low + high) / 2.0;
}

RayleighFading::RayleighFading(const RayleighParameters& parameters, std::uint32_t seed)
    : termAmplitude_(std::sqrt(parameters.meanPower / Terms)) {
  if (!(parameters.dopplerHz >= 0.0) || !(parameters.meanPower >= 0.0) ||
      !std::isfinite(parameters.dopplerHz) || !std::isfinite(parameters.meanPower)) {
    throw std::invalid_argument("fading needs a Doppler and a mean power of at least 0");
  }
  std::mt19937 engine(seed);
  for (int n = 0; n < Terms; ++n) {
    frequenciesHz_.push_back(DopplerFrequency(parameters, n, Uniform(engine)));
    phases_.push_back(TwoPi * Uniform(engine));
  }
}

std::complex<double> RayleighFading::GainAt(double seconds) const {
  std::complex<double> sum;
  for (std::size_t n = 0; n < phases_.size(); ++n)
    sum += std::polar(1.0, phases_[n] + TwoPi * frequenciesHz_[n] * seconds);
  return termAmplitude_ * sum;
}

std::vector<std::complex<double>> RayleighFading::Gains(double step, std::size_t count) const {
  std::vector<std::complex<double>> gains(count);
  std::vector<std::complex<double>> rotation;
  for (const double frequency : frequenciesHz_)
    rotation.push_back(std::polar(1.0, TwoPi * frequency * step));
  std::vector<std::complex<double>> phasor(phases_.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (i % AnchorEvery == 0) {
      const double seconds = static_cast<double>(i) * step;
      for (std::size_t n = 0; n < phasor.size(); ++n)
        phasor[n] = std::polar(1.0, phases_[n] + TwoPi * frequenciesHz_[n] * seconds);
    }
    std::complex<double> sum;
    for (std::size_t n = 0; n < phasor.size(); ++n) {
      sum += phasor[n];
      phasor[n] *= rotation[n];
    }
    gains[i] = termAmplitude_ * sum;
  }
  return gains;
}

}  // namespace seaherald::testsignal
