#pragma once

#include <cstdint>
#include <vector>

#include "tests/decoder/BitStreams.h"

namespace seaherald::test {

struct FskOptions {
  double centerHz = 800;
  double offsetHz = 0;      // added to both tones
  double amplitude = 8000;  // peak, in 16-bit sample units
  double noiseStdDev = 0;   // white Gaussian noise, sample units
  std::uint32_t seed = 1;
  int leadInSamples = 0;  // steady tone of the first bit before the first bit begins
};

// Phase-continuous 100-baud FSK at 44100 Hz, rounded to 16-bit sample values. Bit 1 is sent
// 85 Hz above the centre, bit 0 85 Hz below, i.e. the bits are what the demodulator delivers.
std::vector<double> FskAudio(const Bits& bits, const FskOptions& options);

std::vector<double> ToneAudio(double hz, int samples, double amplitude, double phase = 0);

}  // namespace seaherald::test
