#include "audio/MonitorBlock.h"

namespace seaherald {

void FillMonitorBlock(std::span<const std::int16_t, BlockSamples> captured,
                      std::span<std::int16_t, BlockSamples> monitor) {
  for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
    const std::int16_t left = captured[frame * 2];
    monitor[frame * 2] = left;
    monitor[frame * 2 + 1] = left;
  }
}

}  // namespace seaherald
