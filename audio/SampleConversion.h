#pragma once

#include <cstdint>
#include <span>

#include "decoder/BlockConstants.h"

namespace seaherald {

// One capture block: 16-bit stereo frames, left word first.
using StereoBlock = std::span<const std::int16_t, BlockFrames * 2>;

// Copies the left channel into the decoder's sample block as plain doubles: no scaling and no
// offset removal, so -32768 becomes -32768.0. The right channel is never read.
void ConvertLeftChannel(StereoBlock interleaved, std::span<double, BlockFrames> samples);
// The same for the right channel, the second receiver's input.
void ConvertRightChannel(StereoBlock interleaved, std::span<double, BlockFrames> samples);

}  // namespace seaherald
