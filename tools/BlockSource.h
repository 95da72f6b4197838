#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "decoder/BlockConstants.h"

namespace seaherald::decodetool {

inline constexpr std::size_t StereoBlockSamples = BlockFrames * 2;

using StereoBlockBuffer = std::span<std::int16_t, StereoBlockSamples>;

// An input that cannot be opened or read at all.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Audio cut into the capture's blocks: 4410 frames of 16-bit stereo at 44 100 Hz, left word first.
class BlockSource {
 public:
  virtual ~BlockSource() = default;

  // Fills the next block and returns how many of its frames came from the input; the frames
  // after them are silence. 0 means the input has ended.
  virtual std::size_t NextBlock(StereoBlockBuffer block) = 0;

  // Length of the input in seconds when it is known in advance (files, not streams).
  virtual std::optional<double> DurationSeconds() const = 0;

  // After the end: why the input ended before it should have, or nothing when it ended normally.
  virtual std::optional<std::string> Defect() const = 0;
};

}  // namespace seaherald::decodetool
