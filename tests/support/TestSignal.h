#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/support/Fading.h"
#include "tests/support/FadingChannel.h"
#include "tests/support/FskModulator.h"
#include "tests/support/ImpulseNoise.h"
#include "tests/support/Transmission.h"

namespace seaherald::testsignal {

struct SignalOptions {
  FskParameters fsk;
  // Inverted: the tones are swapped, as on a receiver with the other sideband; the receiver then
  // needs its polarity setting on.
  bool inverted = false;
  std::optional<double> snrDb;  // white noise, see NoiseDeviationFor; none when empty
  std::uint32_t seed = 1;
  // Fading acts on the signal alone, before the noise, timed from the first sample; it keeps the
  // signal's mean power, so the SNR refers to the mean. Crashes come on top of the noise, from
  // the same seed.
  std::optional<FadingParameters> fading{};
  std::optional<ImpulseParameters> impulses{};
  // Rayleigh fading, flat or over several paths, acting on the analytic signal before the noise
  // (after the cosine fading, if both are given), its own streams derived from the seed. The
  // paths' mean powers add up to one, so the SNR is the mean over the fades.
  std::vector<ChannelPath> channel{};
  double leadingSilenceSeconds = 0.0;
  double trailingSilenceSeconds = 0.5;
};

// The upper/lower tone choice for each bit of a broadcast. English sends a 1 as the upper tone,
// Japanese as the lower one; inversion swaps both.
std::vector<std::uint8_t> ToneBits(const Transmission& transmission, bool inverted);

// Audio at the options' sample rate for the broadcasts in order, each after its own silence, with
// the options' silences around them, faded, and noise and crashes over the whole. The same
// arguments always give the same samples.
std::vector<double> Modulate(std::span<const Transmission> transmissions,
                             const SignalOptions& options);

// Rounded to 16-bit samples, saturating at the limits.
std::vector<std::int16_t> ToPcm16(std::span<const double> samples);

// One clean English broadcast of `text` as 16-bit samples, half a second of silence before it and
// one after: what the live tests play into a sound server.
std::vector<std::int16_t> EnglishBroadcastPcm(const std::string& text);

}  // namespace seaherald::testsignal
