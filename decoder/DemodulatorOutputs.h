#pragma once

#include <array>

#include "decoder/BlockConstants.h"

namespace seaherald {

// The demodulator's by-products for the tuning display. One copy for all channels: only channel 0
// is decoded, so these always describe channel 0.
struct DemodulatorOutputs {
  std::array<double, DecimatedBlockSamples> DisplaySamples{};  // mixed, decimated input
  double TuningOffset = 0;                                     // Hz, mean bit frequency error
  double ResonatorPeak = 0;                                    // largest clock resonator output
};

}  // namespace seaherald
