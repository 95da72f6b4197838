#include "tests/support/FadingChannel.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <stdexcept>
#include <utility>

namespace seaherald::testsignal {
namespace {

// The gains change at a few hertz at most: computed every so many samples and interpolated.
constexpr std::size_t GainStepSamples = 8;
// Each path fades from a stream of its own, unrelated to the noise made from the same seed.
constexpr std::uint32_t PathSeedSalt = 0x27d4eb2fu;

std::uint32_t PathSeed(std::uint32_t seed, std::size_t path) {
  return seed ^ (PathSeedSalt * static_cast<std::uint32_t>(path + 1));
}

}  // namespace

std::vector<ChannelPath> FlatRayleighPaths(double dopplerHz) {
  return {ChannelPath{
      .delaySeconds = 0.0,
      .fading = {.spectrum = DopplerSpectrum::Clarke, .dopplerHz = dopplerHz, .meanPower = 1.0}}};
}

std::vector<ChannelPath> WattersonPaths(double delaySeconds, double dopplerSpreadHz) {
  const RayleighParameters half{
      .spectrum = DopplerSpectrum::Gaussian, .dopplerHz = dopplerSpreadHz, .meanPower = 0.5};
  return {ChannelPath{.delaySeconds = 0.0, .fading = half},
          ChannelPath{.delaySeconds = delaySeconds, .fading = half}};
}

FadingChannel::FadingChannel(std::vector<ChannelPath> paths, std::uint32_t seed, int sampleRate)
    : paths_(std::move(paths)), seed_(seed), sampleRate_(sampleRate) {
  if (paths_.empty() || sampleRate <= 0) throw std::invalid_argument("a channel needs a path");
  for (const ChannelPath& path : paths_) {
    if (!(path.delaySeconds >= 0.0) || path.delaySeconds > 1.0) {
      throw std::invalid_argument("a path's delay must lie from 0 to 1 s");
    }
    RayleighFading(path.fading, 0);  // checks the fading's parameters
  }
}

void FadingChannel::Apply(std::span<double> inPhase, std::span<const double> quadrature) const {
  if (quadrature.size() != inPhase.size()) {
    throw std::invalid_argument("the quadrature must match the signal sample for sample");
  }
  const std::size_t size = inPhase.size();
  std::vector<double> out(size, 0.0);
  const double step = static_cast<double>(GainStepSamples) / sampleRate_;
  for (std::size_t p = 0; p < paths_.size(); ++p) {
    const auto delay = static_cast<std::size_t>(std::llround(paths_[p].delaySeconds * sampleRate_));
    const auto gains = RayleighFading(paths_[p].fading, PathSeed(seed_, p))
                           .Gains(step, size / GainStepSamples + 2);
    for (std::size_t i = delay; i < size; ++i) {
      const std::size_t knot = i / GainStepSamples;
      const double along = static_cast<double>(i % GainStepSamples) / GainStepSamples;
      const std::complex<double> gain = gains[knot] + along * (gains[knot + 1] - gains[knot]);
      // Re(g * (s + j q)) for the analytic signal s + j q.
      out[i] += gain.real() * inPhase[i - delay] - gain.imag() * quadrature[i - delay];
    }
  }
  std::copy(out.begin(), out.end(), inPhase.begin());
}

}  // namespace seaherald::testsignal
