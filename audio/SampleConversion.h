#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace seaherald {

// Frames in one capture block (0.1 s at 44 100 Hz).
inline constexpr std::size_t StereoBlockFrames = 4410;

// One capture block: 16-bit stereo frames, left word first.
using StereoBlock = std::span<const std::int16_t, StereoBlockFrames * 2>;

// Copies the left channel into the decoder's sample block as plain doubles: no scaling and no
// offset removal, so -32768 becomes -32768.0. The right channel is never read.
void ConvertLeftChannel(StereoBlock interleaved, std::span<double, StereoBlockFrames> samples);

}  // namespace seaherald
