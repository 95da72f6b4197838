#include "audio/SampleConversion.h"

#include <cstddef>

namespace seaherald {

void ConvertLeftChannel(StereoBlock interleaved, std::span<double, BlockFrames> samples) {
  for (std::size_t frame = 0; frame < samples.size(); ++frame) {
    samples[frame] = static_cast<double>(interleaved[frame * 2]);
  }
}

}  // namespace seaherald
