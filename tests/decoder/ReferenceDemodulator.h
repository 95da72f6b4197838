#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace seaherald::test {

// The demodulator written the plain way: every filter a delay line shifted one place per input,
// all coefficients used, the decimation filter evaluated at every input sample. The decoder's
// own demodulator must give bit-identical results.
class ReferenceDemodulator {
 public:
  void Demodulate(std::span<const double, 4410> input, double centerFrequency);

  std::array<double, 441> decimated{};
  std::array<double, 441> displaySamples{};
  std::array<double, 441> deviation{};
  std::vector<std::uint8_t> bits;
  std::vector<double> bitErrorHz;
  double tuningOffset = 0;
  double resonatorPeak = 0;
  double mixerPhase = 0;
  double lastPhase = 0;

 private:
  std::array<double, 51> decimationLine_{};
  std::array<double, 101> channelLine_{};
  std::array<double, 51> hilbertLine_{};
  std::array<double, 101> postLine_{};
  double y1_ = 0, y2_ = 0;
  std::array<double, 128> clockHistory_{};
  double clockLevel_ = 0;
};

}  // namespace seaherald::test
