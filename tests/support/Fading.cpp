#include "tests/support/Fading.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace seaherald::testsignal {
namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr int MeanPowerSteps = 4096;

}  // namespace

Fading::Fading(const FadingParameters& parameters, int sampleRate)
    : parameters_(parameters), sampleRate_(sampleRate) {
  if (!(parameters.depthDb >= 0.0) || !(parameters.periodSeconds > 0.0) || sampleRate <= 0) {
    throw std::invalid_argument("fading needs a depth of at least 0 dB and a positive period");
  }
  // The mean power of the unscaled gain over one period, by the midpoint rule (the integrand is
  // smooth and periodic, so this is exact to rounding).
  double power = 0.0;
  for (int step = 0; step < MeanPowerSteps; ++step) {
    const double gain = GainForPhase(std::cos(TwoPi * (step + 0.5) / MeanPowerSteps));
    power += gain * gain;
  }
  meanPowerScale_ = 1.0 / std::sqrt(power / MeanPowerSteps);
}

double Fading::GainForPhase(double cosine) const {
  const double db = -parameters_.depthDb * (1.0 - cosine) / 2.0;
  return meanPowerScale_ * std::pow(10.0, db / 20.0);
}

double Fading::GainAt(double seconds) const {
  const double phase = seconds / parameters_.periodSeconds + parameters_.startPhase;
  return GainForPhase(std::cos(TwoPi * phase));
}

void Fading::Apply(std::span<double> samples) const {
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] *= GainAt(static_cast<double>(i) / sampleRate_);
}

double Fading::PeakGain() const {
  return GainForPhase(1.0);
}

double Fading::TroughGain() const {
  return GainForPhase(-1.0);
}

}  // namespace seaherald::testsignal
