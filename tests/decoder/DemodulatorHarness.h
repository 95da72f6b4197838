#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "decoder/Demodulator.h"
#include "decoder/DemodulatorOutputs.h"

namespace seaherald::test {

// Runs a demodulator over audio block by block, as the decoder does.
struct DemodulatorHarness {
  // Demodulates the next 4410 samples of `audio` from `offset`, zeros past its end.
  void Block(const std::vector<double>& audio, std::size_t offset) {
    std::fill(block.begin(), block.end(), 0.0);
    if (offset < audio.size()) {
      const std::size_t count = std::min<std::size_t>(BlockFrames, audio.size() - offset);
      std::copy_n(audio.begin() + static_cast<std::ptrdiff_t>(offset), count, block.begin());
    }
    demodulator.Demodulate(block, centerFrequency, outputs);
  }

  // Demodulates all of `audio`, returning every bit.
  std::vector<std::uint8_t> All(const std::vector<double>& audio) {
    std::vector<std::uint8_t> bits;
    for (std::size_t offset = 0; offset < audio.size(); offset += BlockFrames) {
      Block(audio, offset);
      bits.insert(bits.end(), demodulator.BlockBits().begin(), demodulator.BlockBits().end());
    }
    return bits;
  }

  double centerFrequency = 800;
  Demodulator demodulator;
  DemodulatorOutputs outputs;
  std::array<double, BlockFrames> block{};
};

}  // namespace seaherald::test
