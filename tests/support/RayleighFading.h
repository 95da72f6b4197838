#pragma once

#include <complex>
#include <cstdint>
#include <vector>

namespace seaherald::testsignal {

// The Doppler power spectrum of a fading path.
enum class DopplerSpectrum {
  // Clarke's (Jakes) U-shaped spectrum of scatterers all round: correlation J0(2 pi fd tau).
  Clarke,
  // A Gaussian spectrum, as ionospheric paths give it: correlation exp(-2 pi^2 sigma^2 tau^2).
  Gaussian,
};

struct RayleighParameters {
  DopplerSpectrum spectrum = DopplerSpectrum::Clarke;
  // Clarke: the maximum Doppler shift fd. Gaussian: the Doppler spread, twice the spectrum's
  // standard deviation sigma.
  double dopplerHz = 1.0;
  double meanPower = 1.0;  // mean of |gain|^2 over the fades
};

// A Rayleigh-fading complex gain as a sum of sinusoids: Terms unit phasors of random phase whose
// Doppler frequencies are drawn, stratified, from the spectrum. Its correlation over time
// follows the spectrum, its real and imaginary parts are near-Gaussian (so the envelope is near
// Rayleigh), and its power averaged over time tends to exactly `meanPower`. The same seed gives
// the same gain on every platform.
class RayleighFading {
 public:
  static constexpr int Terms = 64;

  // Throws std::invalid_argument for a Doppler or mean power that is negative or not a number.
  RayleighFading(const RayleighParameters& parameters, std::uint32_t seed);

  std::complex<double> GainAt(double seconds) const;
  // GainAt(0), GainAt(step), ... `count` values, by phasor rotation (re-anchored now and then so
  // rounding cannot build up): many times faster than GainAt for each.
  std::vector<std::complex<double>> Gains(double step, std::size_t count) const;

  const std::vector<double>& DopplerFrequencies() const { return frequenciesHz_; }

 private:
  std::vector<double> frequenciesHz_;
  std::vector<double> phases_;
  double termAmplitude_;
};

// The inverse of the standard normal distribution function, for p in (0, 1).
double NormalQuantile(double p);

}  // namespace seaherald::testsignal
