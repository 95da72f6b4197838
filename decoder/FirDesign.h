#pragma once

#include <cstddef>
#include <vector>

namespace seaherald {

// Windowed-sinc FIR design. Tap k of an N-tap filter sits at m = k - (N-1)/2; coefficients are
// not normalised after windowing, so the gains are those of the windowed ideal response.

// Modified Bessel function of the first kind, order 0.
double BesselI0(double x);

// Kaiser window of `taps` points (odd) with shape parameter beta.
std::vector<double> KaiserWindow(std::size_t taps, double beta);

// Ideal low-pass impulse response h(m) = sin(2 pi fc m / fs) / (pi m), h(0) = 2 fc / fs.
double IdealLowPass(int m, double cutoffHz, double rateHz);

std::vector<double> KaiserLowPass(std::size_t taps, double cutoffHz, double rateHz, double beta);
// Low-pass(upperHz) minus low-pass(lowerHz), windowed.
std::vector<double> KaiserBandPass(std::size_t taps, double lowerHz, double upperHz, double rateHz,
                                   double beta);

}  // namespace seaherald
