#include "audio/SampleConversion.h"

namespace seaherald {

void ConvertLeftChannel(StereoBlock interleaved, std::span<double, StereoBlockFrames> samples) {
  for (std::size_t frame = 0; frame < StereoBlockFrames; ++frame) {
    samples[frame] = static_cast<double>(interleaved[frame * 2]);
  }
}

}  // namespace seaherald
