#include "audio/SampleConversion.h"

#include <cstddef>

namespace seaherald {

namespace {

void ConvertChannel(StereoBlock interleaved, std::size_t channel,
                    std::span<double, BlockFrames> samples) {
  for (std::size_t frame = 0; frame < samples.size(); ++frame) {
    samples[frame] = static_cast<double>(interleaved[frame * 2 + channel]);
  }
}

}  // namespace

void ConvertLeftChannel(StereoBlock interleaved, std::span<double, BlockFrames> samples) {
  ConvertChannel(interleaved, 0, samples);
}

void ConvertRightChannel(StereoBlock interleaved, std::span<double, BlockFrames> samples) {
  ConvertChannel(interleaved, 1, samples);
}

}  // namespace seaherald
