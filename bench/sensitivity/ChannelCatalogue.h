#pragma once

#include <array>
#include <string>
#include <string_view>

#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

// The Doppler frequencies `rayleigh` alone measures: slow to fast sky-wave fading.
inline constexpr std::array<double, 4> RayleighDopplersHz{0.1, 0.5, 1.0, 2.0};

// Flat Rayleigh fading, Clarke spectrum of maximum Doppler `dopplerHz`, mean power one.
ChannelModel RayleighChannel(double dopplerHz);

// A two-path Watterson condition of ITU-R F.1487 (as for 4209.5 kHz by day): two independent
// Rayleigh paths of equal mean power with Gaussian Doppler spectra of the given spread (twice the
// standard deviation), the second `delayMs` behind the first.
struct WattersonCondition {
  std::string_view key;  // as the command line names it, e.g. "mid-quiet"
  double delayMs;
  double spreadHz;
};

// Mid and low latitudes, quiet, moderate and disturbed.
inline constexpr std::array<WattersonCondition, 6> WattersonConditions{{
    {"mid-quiet", 0.5, 0.1},
    {"mid-moderate", 1.0, 0.5},
    {"mid-disturbed", 2.0, 1.0},
    {"low-quiet", 0.5, 0.5},
    {"low-moderate", 2.0, 1.5},
    {"low-disturbed", 6.0, 10.0},
}};

ChannelModel WattersonChannel(const WattersonCondition& condition);

}  // namespace seaherald::sensitivity
