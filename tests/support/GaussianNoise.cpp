#include "tests/support/GaussianNoise.h"

#include <cmath>
#include <numbers>

namespace seaherald::testsignal {

double GaussianNoise::Uniform() {
  return (static_cast<double>(engine_()) + 0.5) / 4294967296.0;
}

double GaussianNoise::Next() {
  if (haveSpare_) {
    haveSpare_ = false;
    return spare_;
  }
  const double radius = std::sqrt(-2.0 * std::log(Uniform()));
  const double angle = 2.0 * std::numbers::pi * Uniform();
  spare_ = radius * std::sin(angle);
  haveSpare_ = true;
  return radius * std::cos(angle);
}

void GaussianNoise::AddTo(std::span<double> samples, double standardDeviation) {
  for (double& sample : samples)
    sample += standardDeviation * Next();
}

double NoiseDeviationFor(double amplitude, double snrDb, int sampleRate) {
  const double signalPower = amplitude * amplitude / 2.0;
  const double noiseInBand = signalPower / std::pow(10.0, snrDb / 10.0);
  const double bandFraction = SnrBandwidthHz / (sampleRate / 2.0);
  return std::sqrt(noiseInBand / bandFraction);
}

}  // namespace seaherald::testsignal
