#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "bench/sensitivity/SweepOptions.h"
#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

// What an ideal receiver could make of English characters on a fading channel, by Monte-Carlo:
// two tone correlators per bit (non-coherent, orthogonal, perfect timing and frequency, N0 = 1,
// Eb = 25 x SNR), the channel's gain on each tone known at each bit, the exact non-coherent
// likelihood of each bit, and of the 35 code words the one most likely over both copies of the
// character (350 ms apart). On multipath channels each path's delay spills the bit before into
// the first part of each bit (on the other tone when the bit changes); the receiver does not
// model that spill. No `channel` is steady noise.
struct IdealResult {
  std::size_t characters = 0;
  std::size_t errors = 0;
  double Rate() const;
};

IdealResult IdealCharacterErrors(const std::optional<ChannelModel>& channel, double snrDb,
                                 std::size_t characters, std::uint32_t seed);

// Characters a point of the --ideal table is measured on.
inline constexpr std::size_t IdealCharactersPerPoint = 20000;

// The channels --ideal measures: those the options name, else steady noise, every Rayleigh
// Doppler and every Watterson condition.
std::vector<std::optional<ChannelModel>> IdealChannels(const SweepOptions& options);

// The --ideal table: one row per channel, one column per SNR step, CER in percent.
void WriteIdealTable(std::ostream& out, const SweepOptions& options, int jobs,
                     const std::function<void(int done, int total)>& progress);

}  // namespace seaherald::sensitivity
