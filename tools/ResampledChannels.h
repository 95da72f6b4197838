#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "tools/BlockSource.h"
#include "tools/StreamResampler.h"

namespace seaherald::decodetool {

// The two channels of the blocks as an input source reads them, normalised to +-1: resampled to
// 44 100 Hz where the input runs at another rate, and handed out block by block.
class ResampledChannels {
 public:
  // `resampleRight` false: at another rate only the left channel is resampled and the right one
  // repeats it (a recording that feeds one receiver).
  ResampledChannels(int inputRate, bool resampleRight);

  // Takes frames of both channels as read (`right` is not used while it repeats the left); the
  // call with `ended` set drains the resamplers.
  void Take(std::span<const float> left, std::span<const float> right, bool ended);
  std::size_t Pending() const { return left_.size() - start_; }
  // Fills `block` with up to a block of pending frames, the rest with silence; how many it took.
  std::size_t Fill(StereoBlockBuffer block);

 private:
  float RightAt(std::size_t at) const;

  std::unique_ptr<StreamResampler> leftResampler_;
  std::unique_ptr<StreamResampler> rightResampler_;
  std::vector<float> left_;
  std::vector<float> right_;
  std::size_t start_ = 0;
};

}  // namespace seaherald::decodetool
