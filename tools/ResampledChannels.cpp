#include "tools/ResampledChannels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace seaherald::decodetool {
namespace {

std::int16_t ToSample(float normalised) {
  // A float file may hold anything; what is not a number is silence.
  if (!std::isfinite(normalised)) return 0;
  // Integer input reads back exactly: 16-bit values divided by 32768 are exact in a float.
  const double scaled = std::nearbyint(static_cast<double>(normalised) * 32768.0);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

}  // namespace

ResampledChannels::ResampledChannels(int inputRate, bool resampleRight) {
  if (inputRate == DecoderInputRate) return;
  leftResampler_ = std::make_unique<StreamResampler>(inputRate, DecoderInputRate);
  if (resampleRight) {
    rightResampler_ = std::make_unique<StreamResampler>(inputRate, DecoderInputRate);
  }
}

void ResampledChannels::Take(std::span<const float> left, std::span<const float> right,
                             bool ended) {
  if (!leftResampler_) {
    left_.insert(left_.end(), left.begin(), left.end());
    right_.insert(right_.end(), right.begin(), right.end());
    return;
  }
  leftResampler_->Process(left, ended, left_);
  if (rightResampler_) rightResampler_->Process(right, ended, right_);
}

float ResampledChannels::RightAt(std::size_t at) const {
  if (leftResampler_ && !rightResampler_) return left_[at];
  // Two resamplers given the same lengths give the same lengths back; a shortfall is silence.
  return at < right_.size() ? right_[at] : 0.0F;
}

std::size_t ResampledChannels::Fill(StereoBlockBuffer block) {
  const std::size_t frames = std::min<std::size_t>(BlockFrames, Pending());
  std::fill(block.begin(), block.end(), std::int16_t{0});
  for (std::size_t f = 0; f < frames; ++f) {
    const std::size_t at = start_ + f;
    block[f * 2] = ToSample(left_[at]);
    block[f * 2 + 1] = ToSample(RightAt(at));
  }
  start_ += frames;
  // What has been handed out goes once it is a good share of the buffers, which so stay small
  // however long the input runs.
  if (start_ >= BlockFrames * 4) {
    left_.erase(left_.begin(), left_.begin() + static_cast<std::ptrdiff_t>(start_));
    right_.erase(right_.begin(),
                 right_.begin() + static_cast<std::ptrdiff_t>(std::min(start_, right_.size())));
    start_ = 0;
  }
  return frames;
}

}  // namespace seaherald::decodetool
