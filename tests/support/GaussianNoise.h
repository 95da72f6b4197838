#pragma once

#include <cstdint>
#include <random>
#include <span>

#include "tests/support/FskModulator.h"

namespace seaherald::testsignal {

// White Gaussian noise that is the same on every platform for a given seed: the 32-bit Mersenne
// Twister gives the same numbers in every standard library, and the Box-Muller transform is done
// here rather than by the library's distributions, whose algorithms differ between
// implementations.
class GaussianNoise {
 public:
  explicit GaussianNoise(std::uint32_t seed) : engine_(seed) {}

  double Next();  // zero mean, unit variance
  void AddTo(std::span<double> samples, double standardDeviation);

 private:
  double Uniform();  // in (0, 1)

  std::mt19937 engine_;
  bool haveSpare_ = false;
  double spare_ = 0.0;
};

// Noise standard deviation for a sine of the given amplitude at the given signal-to-noise ratio,
// measured as the sine's power over the noise power that falls in a 2500 Hz bandwidth (the noise
// is white over the whole band up to half the sample rate).
double NoiseDeviationFor(double amplitude, double snrDb, int sampleRate = SignalSampleRate);

inline constexpr double SnrBandwidthHz = 2500.0;

}  // namespace seaherald::testsignal
