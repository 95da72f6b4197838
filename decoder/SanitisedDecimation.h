#pragma once

#include <algorithm>
#include <cmath>
#include <span>

#include "decoder/BlockConstants.h"
#include "decoder/BlockFir.h"
#include "decoder/DecoderFilters.h"

namespace seaherald {

using DecimationFir = BlockFir<DecimationFilterTaps, BlockFrames, DecimationFactor>;

// 16-bit conversion never yields anything else; a NaN or an infinity would poison the delay
// lines for good, and an out-of-range value could overflow them.
inline double SanitisedSample(double value) {
  if (std::isnan(value)) return 0.0;
  return std::clamp(value, -32768.0, 32767.0);
}

// One block of raw samples through the decimation filter. `decimated` may be the start of
// `block`: the inputs are copied into the filter before any output is written.
inline void DecimateSanitised(DecimationFir& fir, std::span<const double, BlockFrames> block,
                              std::span<double, DecimatedBlockSamples> decimated) {
  std::span<double, BlockFrames> input = fir.NextInput();
  std::transform(block.begin(), block.end(), input.begin(), SanitisedSample);
  fir.Run(decimated);
}

}  // namespace seaherald
