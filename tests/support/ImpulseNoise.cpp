#include "tests/support/ImpulseNoise.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace seaherald::testsignal {
namespace {

constexpr double BurstTimeConstants = 5.0;
// Arrival times and burst samples come from streams of their own, unrelated to the background
// noise made from the same seed.
constexpr std::uint32_t ArrivalSeedSalt = 0x85ebca6bu;
constexpr std::uint32_t BurstSeedSalt = 0x9e3779b9u;

}  // namespace

ImpulseNoise::ImpulseNoise(const ImpulseParameters& parameters, std::uint32_t seed, int sampleRate)
    : parameters_(parameters),
      sampleRate_(sampleRate),
      arrivals_(seed ^ ArrivalSeedSalt),
      burst_(seed ^ BurstSeedSalt) {
  if (!(parameters.ratePerSecond >= 0.0) || !(parameters.peakRms >= 0.0) ||
      !(parameters.decaySeconds > 0.0) || !(parameters.holdSeconds >= 0.0) ||
      !(parameters.holdSeconds <= 10.0) || sampleRate <= 0) {
    throw std::invalid_argument(
        "impulse noise needs a rate and level of at least 0, a decay and a hold of 0 to 10 s");
  }
  const double decaySamples = parameters.decaySeconds * sampleRate;
  decayPerSample_ = std::exp(-1.0 / decaySamples);
  holdSamples_ = static_cast<std::uint64_t>(std::llround(parameters.holdSeconds * sampleRate));
  burstSamples_ =
      holdSamples_ + static_cast<std::uint64_t>(std::ceil(BurstTimeConstants * decaySamples));
  ScheduleNext();
}

void ImpulseNoise::ScheduleNext() {
  if (parameters_.ratePerSecond == 0.0) {
    untilNext_ = std::numeric_limits<std::uint64_t>::max();
    return;
  }
  // Exponential gaps between arrivals, from the engine's raw output so every platform agrees.
  const double uniform = (static_cast<double>(arrivals_()) + 0.5) / 4294967296.0;
  const double gapSeconds = -std::log(uniform) / parameters_.ratePerSecond;
  untilNext_ = static_cast<std::uint64_t>(std::llround(gapSeconds * sampleRate_));
}

void ImpulseNoise::AddTo(std::span<double> samples) {
  for (double& sample : samples) {
    if (untilNext_ == 0) {
      // A crash that starts inside another one replaces it.
      burstLeft_ = burstSamples_;
      envelope_ = parameters_.peakRms;
      ++crashes_;
      ScheduleNext();
    } else {
      --untilNext_;
    }
    if (burstLeft_ > 0) {
      sample += envelope_ * burst_.Next();
      // The level holds while more than the decaying tail is left.
      if (burstLeft_ + holdSamples_ <= burstSamples_) envelope_ *= decayPerSample_;
      --burstLeft_;
    }
  }
}

}  // namespace seaherald::testsignal
