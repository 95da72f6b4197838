// The test signal's fading and static crashes do what the sensitivity figures say they do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <span>
#include <stdexcept>
#include <vector>

#include "tests/support/Fading.h"
#include "tests/support/ImpulseNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::testsignal {
namespace {

double Rms(std::span<const double> samples) {
  const double power = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
  return std::sqrt(power / static_cast<double>(samples.size()));
}

// Phasing only, long enough for two fade periods of 4 s.
std::vector<double> SteadyTone(const SignalOptions& options) {
  std::vector<Transmission> transmissions(1);
  transmissions[0].text = "NNNN\r\n";
  transmissions[0].phasingSeconds = 8.0;
  return Modulate(transmissions, options);
}

TEST(FadingTest, EnvelopeSwingsByTheDepthAndKeepsTheMeanPower) {
  SignalOptions options;
  const std::vector<double> plain = SteadyTone(options);
  options.fading = FadingParameters{.depthDb = 15.0, .periodSeconds = 4.0, .startPhase = 0.0};
  const std::vector<double> faded = SteadyTone(options);
  ASSERT_EQ(plain.size(), faded.size());

  // 20 ms windows around the top (t = 0, 4 s) and the bottom (t = 2 s) of the fade.
  const auto window = [&](const std::vector<double>& samples, double seconds) {
    const auto centre = static_cast<std::size_t>(seconds * SignalSampleRate);
    return Rms(std::span(samples).subspan(centre - 441, 882));
  };
  const double top = window(faded, 4.0) / window(plain, 4.0);
  const double bottom = window(faded, 2.0) / window(plain, 2.0);
  EXPECT_NEAR(20 * std::log10(top / bottom), 15.0, 0.1);
  // Over whole periods the faded signal has the power of the plain one, so the SNR holds.
  const auto twoPeriods = static_cast<std::size_t>(8.0 * SignalSampleRate);
  EXPECT_NEAR(Rms(std::span(faded).first(twoPeriods)) / Rms(std::span(plain).first(twoPeriods)),
              1.0, 0.01);
  // The top lies above the mean and the trough below it, as the gain says.
  const Fading fading(*options.fading);
  EXPECT_NEAR(top, fading.PeakGain(), 0.01);
  EXPECT_NEAR(bottom, fading.TroughGain(), 0.01);
  EXPECT_GT(fading.PeakGain(), 1.0);
  EXPECT_LT(fading.TroughGain(), 1.0);
}

TEST(FadingTest, StartPhaseMovesTheFadeAndBadParametersAreRefused) {
  const Fading atTrough({.depthDb = 20.0, .periodSeconds = 10.0, .startPhase = 0.5});
  EXPECT_DOUBLE_EQ(atTrough.GainAt(0.0), atTrough.TroughGain());
  EXPECT_NEAR(atTrough.GainAt(5.0), atTrough.PeakGain(), 1e-12);
  EXPECT_NEAR(20 * std::log10(atTrough.PeakGain() / atTrough.TroughGain()), 20.0, 1e-9);
  EXPECT_THROW(Fading({.depthDb = -1.0}), std::invalid_argument);
  EXPECT_THROW(Fading({.periodSeconds = 0.0}), std::invalid_argument);
}

// Runs of non-zero samples in otherwise silent audio: one per crash, unless two overlap.
std::vector<std::pair<std::size_t, std::size_t>> Bursts(const std::vector<double>& samples) {
  std::vector<std::pair<std::size_t, std::size_t>> bursts;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] == 0.0) continue;
    const std::size_t start = i;
    while (i < samples.size() && samples[i] != 0.0)
      ++i;
    bursts.emplace_back(start, i - start);
  }
  return bursts;
}

TEST(ImpulseNoiseTest, CrashesArriveAtTheRateWithTheStatedShape) {
  const ImpulseParameters parameters{
      .ratePerSecond = 3.0, .peakRms = 1000.0, .decaySeconds = 0.001};
  ImpulseNoise crashes(parameters, 11);
  std::vector<double> samples(200 * SignalSampleRate, 0.0);
  crashes.AddTo(samples);
  const auto bursts = Bursts(samples);
  // 600 expected; a Poisson count has a spread of about 25. Overlapping crashes merge rarely.
  EXPECT_GT(bursts.size(), 500u);
  EXPECT_LT(bursts.size(), 700u);
  EXPECT_GE(crashes.Crashes(), bursts.size());
  // Each lasts five time constants with the energy of an exponential envelope from the peak.
  const auto length = static_cast<std::size_t>(std::ceil(5 * 0.001 * SignalSampleRate));
  double energy = 0;
  std::size_t whole = 0;
  for (const auto& [start, count] : bursts) {
    if (count != length) continue;
    ++whole;
    energy += std::pow(Rms(std::span(samples).subspan(start, count)), 2) * count;
  }
  ASSERT_GT(whole, 400u);
  const double expected = 1000.0 * 1000.0 * 0.001 * SignalSampleRate / 2;
  EXPECT_NEAR(energy / whole / expected, 1.0, 0.05);
}

TEST(ImpulseNoiseTest, HeldBurstsKeepTheirLevelForTheirLength) {
  const ImpulseParameters parameters{
      .ratePerSecond = 1.0, .peakRms = 1000.0, .decaySeconds = 0.0002, .holdSeconds = 0.010};
  ImpulseNoise bursts(parameters, 5);
  std::vector<double> samples(100 * SignalSampleRate, 0.0);
  bursts.AddTo(samples);
  const auto found = Bursts(samples);
  EXPECT_GT(found.size(), 70u);
  EXPECT_LT(found.size(), 130u);
  // 10 ms held plus a 1 ms tail; the held part at the full level.
  const auto held = static_cast<std::size_t>(0.010 * SignalSampleRate);
  double power = 0;
  std::size_t whole = 0;
  for (const auto& [start, count] : found) {
    if (count != held + static_cast<std::size_t>(std::ceil(5 * 0.0002 * SignalSampleRate)))
      continue;
    ++whole;
    power += std::pow(Rms(std::span(samples).subspan(start, held)), 2);
  }
  ASSERT_GT(whole, 60u);
  EXPECT_NEAR(std::sqrt(power / whole), 1000.0, 20.0);
}

TEST(ImpulseNoiseTest, SameCrashesWhetherAudioComesWholeOrInPieces) {
  const ImpulseParameters parameters;
  std::vector<double> whole(5 * SignalSampleRate, 0.0);
  ImpulseNoise(parameters, 5).AddTo(whole);
  std::vector<double> pieces(whole.size(), 0.0);
  ImpulseNoise stream(parameters, 5);
  for (std::size_t start = 0; start < pieces.size(); start += 4410)
    stream.AddTo(
        std::span(pieces).subspan(start, std::min<std::size_t>(4410, pieces.size() - start)));
  EXPECT_EQ(whole, pieces);
  EXPECT_THROW(ImpulseNoise({.ratePerSecond = -1}, 1), std::invalid_argument);
  EXPECT_THROW(ImpulseNoise({.decaySeconds = 0}, 1), std::invalid_argument);
}

TEST(ImpulseNoiseTest, CrashesComeOnTopOfTheSameBackgroundAndRarelySaturate) {
  // Noise near the 3000 rms that the sensitivity tool holds, crashes ten times as strong.
  std::vector<Transmission> transmissions(1);
  transmissions[0].text = "NNNN\r\n";
  transmissions[0].phasingSeconds = 60.0;
  SignalOptions options;
  options.fsk.amplitude = 1000;
  options.snrDb = -7.0;
  options.seed = 3;
  const std::vector<double> quiet = Modulate(transmissions, options);
  options.impulses = ImpulseParameters{.ratePerSecond = 3.0, .peakRms = 30000.0};
  const std::vector<double> noisy = Modulate(transmissions, options);
  ASSERT_EQ(quiet.size(), noisy.size());
  std::size_t changed = 0;
  for (std::size_t i = 0; i < quiet.size(); ++i)
    changed += quiet[i] != noisy[i] ? 1 : 0;
  // About 3 crashes of 221 samples a second are added; the rest is untouched.
  EXPECT_GT(changed, quiet.size() / 100);
  EXPECT_LT(changed, quiet.size() / 40);
  const std::vector<std::int16_t> pcm = ToPcm16(noisy);
  const auto saturated = std::count_if(pcm.begin(), pcm.end(), [](std::int16_t sample) {
    return sample == 32767 || sample == -32768;
  });
  EXPECT_LT(static_cast<double>(saturated) / static_cast<double>(pcm.size()), 0.001);
}

}  // namespace
}  // namespace seaherald::testsignal
