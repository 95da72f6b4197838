#pragma once

#include <array>

namespace seaherald {

// The demodulator's four linear-phase FIR filters. Coefficient k multiplies delay-line value k,
// the newest input being value 0.
inline constexpr int DecimationFilterTaps = 51;
inline constexpr int ChannelFilterTaps = 101;
inline constexpr int HilbertFilterTaps = 51;
inline constexpr int PostDetectionFilterTaps = 101;

using DecimationCoefficients = std::array<double, DecimationFilterTaps>;
using ChannelCoefficients = std::array<double, ChannelFilterTaps>;
using HilbertCoefficients = std::array<double, HilbertFilterTaps>;
using PostDetectionCoefficients = std::array<double, PostDetectionFilterTaps>;

// 2200 Hz low-pass at 44100 Hz ahead of decimation by 10.
const DecimationCoefficients& DecimationFilter();
// 1400-1600 Hz band-pass at 4410 Hz around the shifted centre of 1500 Hz.
const ChannelCoefficients& ChannelFilter();
// Hilbert transformer; its output is in quadrature with its input delayed by 25 samples.
const HilbertCoefficients& HilbertFilter();
// 65 Hz low-pass at 4410 Hz on the frequency deviation.
const PostDetectionCoefficients& PostDetectionFilter();

}  // namespace seaherald
