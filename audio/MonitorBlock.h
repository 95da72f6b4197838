#pragma once

#include <cstdint>
#include <span>

#include "audio/WaveFormat.h"

namespace seaherald {

// The monitor plays the decoded (left) input channel on both output channels; the input's right
// channel is never heard.
void FillMonitorBlock(std::span<const std::int16_t, BlockSamples> captured,
                      std::span<std::int16_t, BlockSamples> monitor);

}  // namespace seaherald
