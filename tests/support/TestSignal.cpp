#include "tests/support/TestSignal.h"

#include <algorithm>
#include <cmath>

#include "tests/support/GaussianNoise.h"

namespace seaherald::testsignal {

std::vector<std::uint8_t> ToneBits(const Transmission& transmission, bool inverted) {
  std::vector<std::uint8_t> bits = TransmissionBits(transmission);
  const bool flip = (transmission.language == Language::Japanese) != inverted;
  if (flip) {
    for (std::uint8_t& bit : bits)
      bit ^= 1;
  }
  return bits;
}

std::vector<double> Modulate(std::span<const Transmission> transmissions,
                             const SignalOptions& options) {
  FskModulator modulator(options.fsk);
  std::vector<double> samples;
  std::vector<double> quadrature;
  std::vector<double>* const wanted = options.channel.empty() ? nullptr : &quadrature;
  modulator.AppendSilence(options.leadingSilenceSeconds, samples, wanted);
  for (const Transmission& transmission : transmissions) {
    modulator.AppendSilence(transmission.silenceBeforeSeconds, samples, wanted);
    modulator.AppendBits(ToneBits(transmission, options.inverted), samples, wanted);
  }
  modulator.AppendSilence(options.trailingSilenceSeconds, samples, wanted);
  if (options.fading) {
    const Fading fading(*options.fading, options.fsk.sampleRate);
    fading.Apply(samples);
    if (wanted != nullptr) fading.Apply(quadrature);
  }
  if (wanted != nullptr) {
    FadingChannel(options.channel, options.seed, options.fsk.sampleRate).Apply(samples, quadrature);
  }
  if (options.snrDb) {
    GaussianNoise noise(options.seed);
    noise.AddTo(samples,
                NoiseDeviationFor(options.fsk.amplitude, *options.snrDb, options.fsk.sampleRate));
  }
  if (options.impulses) {
    ImpulseNoise(*options.impulses, options.seed, options.fsk.sampleRate).AddTo(samples);
  }
  return samples;
}

std::vector<std::int16_t> ToPcm16(std::span<const double> samples) {
  std::vector<std::int16_t> pcm;
  pcm.reserve(samples.size());
  for (const double sample : samples) {
    const double clamped = std::clamp(std::round(sample), -32768.0, 32767.0);
    pcm.push_back(static_cast<std::int16_t>(clamped));
  }
  return pcm;
}

std::vector<std::int16_t> EnglishBroadcastPcm(const std::string& text) {
  Transmission broadcast;
  broadcast.language = Language::English;
  broadcast.text = text;
  SignalOptions options;
  options.leadingSilenceSeconds = 0.5;
  options.trailingSilenceSeconds = 1.0;
  return ToPcm16(Modulate(std::span(&broadcast, 1), options));
}

}  // namespace seaherald::testsignal
