#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tests/support/FskModulator.h"
#include "tests/support/RayleighFading.h"

namespace seaherald::testsignal {

// One propagation path: its delay and its own, independent Rayleigh fading.
struct ChannelPath {
  double delaySeconds = 0.0;
  RayleighParameters fading;
};

// Flat Rayleigh fading: one path of mean power one with Clarke's spectrum of maximum Doppler fd.
std::vector<ChannelPath> FlatRayleighPaths(double dopplerHz);

// The two-path Watterson channel: two paths of mean power one half each, Gaussian Doppler
// spectra of the given spread (twice the standard deviation), the second `delaySeconds` behind.
std::vector<ChannelPath> WattersonPaths(double delaySeconds, double dopplerSpreadHz);

// A fading channel acting on the analytic signal: the output is the real part of the sum over
// the paths of each path's complex gain times the analytic signal delayed by the path's delay.
// The gains' mean powers add up to the channel's mean power gain.
class FadingChannel {
 public:
  // Throws std::invalid_argument for no path, a negative delay or a bad fading.
  FadingChannel(std::vector<ChannelPath> paths, std::uint32_t seed,
                int sampleRate = SignalSampleRate);

  // `inPhase` is the signal and `quadrature` its Hilbert transform, sample for sample; the
  // channel's output replaces `inPhase`. Time runs from the first sample.
  void Apply(std::span<double> inPhase, std::span<const double> quadrature) const;

 private:
  std::vector<ChannelPath> paths_;
  std::uint32_t seed_;
  int sampleRate_;
};

}  // namespace seaherald::testsignal
