// The Rayleigh fading and the multipath channel have the statistics the sensitivity figures
// assume: mean power, Rayleigh envelope, and the correlation over time of their Doppler spectrum.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <span>
#include <stdexcept>
#include <vector>

#include "tests/support/FadingChannel.h"
#include "tests/support/RayleighFading.h"
#include "tests/support/TestSignal.h"

namespace seaherald::testsignal {
namespace {

constexpr double Pi = std::numbers::pi;

struct FadeStatistics {
  double meanPower = 0;
  std::vector<double> belowFraction;  // of |g|^2 below each level
  std::vector<double> correlation;    // real part of the normalised correlation at each lag
};

// Over several seeds (an ensemble of channels), each observed for `seconds` at `step`.
FadeStatistics Measure(const RayleighParameters& parameters, double seconds, double step,
                       const std::vector<double>& levels, const std::vector<double>& lagsSeconds) {
  FadeStatistics stats;
  stats.belowFraction.assign(levels.size(), 0.0);
  stats.correlation.assign(lagsSeconds.size(), 0.0);
  constexpr int Seeds = 4;
  const auto count = static_cast<std::size_t>(seconds / step);
  double samples = 0;
  for (std::uint32_t seed = 1; seed <= Seeds; ++seed) {
    const auto gains = RayleighFading(parameters, seed * 7919u).Gains(step, count);
    for (const auto& gain : gains) {
      const double power = std::norm(gain);
      stats.meanPower += power;
      for (std::size_t l = 0; l < levels.size(); ++l)
        stats.belowFraction[l] += power < levels[l];
    }
    samples += static_cast<double>(count);
    for (std::size_t l = 0; l < lagsSeconds.size(); ++l) {
      const auto lag = static_cast<std::size_t>(std::lround(lagsSeconds[l] / step));
      std::complex<double> sum;
      for (std::size_t i = 0; i + lag < count; ++i)
        sum += gains[i] * std::conj(gains[i + lag]);
      stats.correlation[l] += sum.real() / static_cast<double>(count - lag) / Seeds;
    }
  }
  stats.meanPower /= samples;
  for (double& fraction : stats.belowFraction)
    fraction /= samples;
  for (double& value : stats.correlation)
    value /= parameters.meanPower;
  return stats;
}

TEST(RayleighFadingTest, ClarkeFadingHasUnitPowerRayleighEnvelopeAndBesselCorrelation) {
  const std::vector<double> levels{0.01, 0.1, 0.5, 1.0, 2.0};
  for (const double doppler : {0.1, 0.5, 1.0, 2.0}) {
    SCOPED_TRACE(doppler);
    // About 1500 fade cycles over the ensemble whatever the Doppler.
    const double seconds = 400.0 / doppler;
    const std::vector<double> lags{0.05 / doppler, 0.2 / doppler, 0.383 / doppler, 1.0 / doppler};
    const FadeStatistics stats =
        Measure({.spectrum = DopplerSpectrum::Clarke, .dopplerHz = doppler}, seconds,
                0.02 / doppler, levels, lags);
    EXPECT_NEAR(stats.meanPower, 1.0, 0.04);
    for (std::size_t l = 0; l < levels.size(); ++l) {
      // Rayleigh envelope: |g|^2 is exponential with mean one.
      EXPECT_NEAR(stats.belowFraction[l], 1.0 - std::exp(-levels[l]), 0.02 + 0.1 * levels[l] / 2)
          << "level " << levels[l];
    }
    EXPECT_NEAR(stats.belowFraction[0], 0.01, 0.004) << "deep fades must be as frequent";
    for (std::size_t l = 0; l < lags.size(); ++l) {
      EXPECT_NEAR(stats.correlation[l], std::cyl_bessel_j(0.0, 2 * Pi * doppler * lags[l]), 0.06)
          << "lag " << lags[l];
    }
  }
}

TEST(RayleighFadingTest, GaussianSpectrumHasItsSpreadAndCorrelation) {
  const double spread = 1.0;  // twice the standard deviation
  const double sigma = spread / 2;
  const RayleighFading fading({.spectrum = DopplerSpectrum::Gaussian, .dopplerHz = spread}, 3);
  double square = 0;
  for (const double f : fading.DopplerFrequencies())
    square += f * f;
  EXPECT_NEAR(std::sqrt(square / RayleighFading::Terms), sigma, 0.1 * sigma);

  const std::vector<double> lags{0.1, 0.3, 0.6};
  const FadeStatistics stats =
      Measure({.spectrum = DopplerSpectrum::Gaussian, .dopplerHz = spread, .meanPower = 0.5},
              2000.0, 0.02, {0.05, 0.5}, lags);
  EXPECT_NEAR(stats.meanPower, 0.5, 0.03);
  EXPECT_NEAR(stats.belowFraction[1], 1.0 - std::exp(-1.0), 0.03);
  for (std::size_t l = 0; l < lags.size(); ++l) {
    const double expected = std::exp(-2 * Pi * Pi * sigma * sigma * lags[l] * lags[l]);
    EXPECT_NEAR(stats.correlation[l], expected, 0.06) << "lag " << lags[l];
  }
}

TEST(RayleighFadingTest, StepwiseGainsMatchDirectOnesAndBadParametersAreRefused) {
  const RayleighFading fading({.dopplerHz = 2.0}, 11);
  const double step = 1.0 / 5512.5;
  const auto gains = fading.Gains(step, 5000);
  for (const std::size_t i : {0u, 1u, 1023u, 1024u, 1500u, 4999u})
    EXPECT_LT(std::abs(gains[i] - fading.GainAt(static_cast<double>(i) * step)), 1e-9) << i;
  EXPECT_NE(RayleighFading({.dopplerHz = 2.0}, 12).GainAt(0.0), fading.GainAt(0.0));
  EXPECT_THROW(RayleighFading({.dopplerHz = -1.0}, 1), std::invalid_argument);
  EXPECT_THROW(RayleighFading({.dopplerHz = NAN}, 1), std::invalid_argument);
  EXPECT_THROW(FadingChannel({}, 1), std::invalid_argument);
  EXPECT_THROW(FadingChannel(WattersonPaths(-0.001, 1.0), 1), std::invalid_argument);
}

TEST(FadingChannelTest, PathDelayShiftsTheSignalAndFlatFadingKeepsTheMeanPower) {
  std::vector<Transmission> tone(1);
  tone[0].text = "NNNN\r\n";
  tone[0].phasingSeconds = 60.0;
  SignalOptions options;
  options.leadingSilenceSeconds = 0.1;
  const std::vector<double> plain = Modulate(tone, options);

  // A frozen path (no Doppler): a delay only shifts the output.
  std::vector<ChannelPath> frozen = FlatRayleighPaths(0.0);
  options.channel = frozen;
  const std::vector<double> direct = Modulate(tone, options);
  frozen[0].delaySeconds = 0.002;
  options.channel = frozen;
  const std::vector<double> delayed = Modulate(tone, options);
  const std::size_t shift = 88;  // 2 ms at 44 100 Hz
  for (std::size_t i = 10000; i < 10100; ++i)
    EXPECT_NEAR(delayed[i + shift], direct[i], 1e-6);
  EXPECT_EQ(delayed[shift - 1], 0.0);

  // 2 Hz fading over a minute: the mean power is the unfaded one within the ensemble's scatter.
  const auto power = [](const std::vector<double>& samples) {
    double sum = 0;
    for (const double s : samples)
      sum += s * s;
    return sum / static_cast<double>(samples.size());
  };
  double faded = 0;
  for (std::uint32_t seed = 1; seed <= 4; ++seed) {
    options.seed = seed;
    options.channel = FlatRayleighPaths(2.0);
    faded += power(Modulate(tone, options)) / 4;
  }
  EXPECT_NEAR(faded / power(plain), 1.0, 0.1);
  options.channel = WattersonPaths(0.002, 1.0);
  const std::vector<double> watterson = Modulate(tone, options);
  EXPECT_EQ(watterson, Modulate(tone, options)) << "the same seed gives the same channel";
}

}  // namespace
}  // namespace seaherald::testsignal
