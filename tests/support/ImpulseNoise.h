#pragma once

#include <cstdint>
#include <random>
#include <span>

#include "tests/support/FskModulator.h"
#include "tests/support/GaussianNoise.h"

namespace seaherald::testsignal {

// Static crashes: bursts of broadband (white Gaussian) noise at random times, arriving as a
// Poisson process. Each burst holds `peakRms` for `holdSeconds` (none for a crash), then dies
// away exponentially with the time constant `decaySeconds`; it is cut off after five time
// constants.
struct ImpulseParameters {
  double ratePerSecond = 3.0;
  double peakRms = 30000.0;
  double decaySeconds = 0.001;
  double holdSeconds = 0.0;
};

// A seeded, endless stream of crashes, added to successive stretches of audio: the same seed
// gives the same crashes whether the audio comes in one piece or in many.
class ImpulseNoise {
 public:
  // Throws std::invalid_argument for a rate, level or decay that is negative or not a number.
  ImpulseNoise(const ImpulseParameters& parameters, std::uint32_t seed,
               int sampleRate = SignalSampleRate);

  void AddTo(std::span<double> samples);

  // Crashes begun so far.
  std::uint64_t Crashes() const { return crashes_; }

 private:
  void ScheduleNext();

  ImpulseParameters parameters_;
  int sampleRate_;
  std::mt19937 arrivals_;
  GaussianNoise burst_;
  std::uint64_t untilNext_ = 0;  // samples before the next crash starts
  std::uint64_t burstLeft_ = 0;  // samples left of the present crash
  double envelope_ = 0.0;        // rms of the present crash at the next sample
  double decayPerSample_ = 1.0;
  std::uint64_t burstSamples_ = 0;
  std::uint64_t holdSamples_ = 0;
  std::uint64_t crashes_ = 0;
};

}  // namespace seaherald::testsignal
