#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "decoder/BitClock.h"
#include "decoder/BlockConstants.h"
#include "decoder/BlockFir.h"
#include "decoder/DecoderFilters.h"
#include "decoder/DemodulatorOutputs.h"
#include "decoder/SanitisedDecimation.h"

namespace seaherald {

// The FSK demodulator of one channel: decimation to 4410 Hz, a mixer that moves the centre
// frequency to 1500 Hz, a band-pass, the Hilbert phase and its step per sample, a 65 Hz low-pass
// on that deviation, and bit sampling at the instants of the 100 Hz bit clock. Its state carries
// over from block to block and is never reset.
class Demodulator {
 public:
  static constexpr double ShiftedCentreHz = 1500.0;
  static constexpr double SamplePeriod = 1.0 / 4410.0;  // s
  static constexpr double ToneOffsetHz = 85.0;
  static constexpr int MaxBlockBits = 256;

  Demodulator();

  // Demodulates one block. `block` holds raw 16-bit sample values; it is left holding the decimated
  // samples in its first 441 places. The centre frequency is read at every decimated sample.
  void Demodulate(std::span<double, BlockFrames> block, const double& centerFrequency,
                  DemodulatorOutputs& outputs);

  int BlockBitCount() const { return blockBitCount_; }
  std::span<const std::uint8_t> BlockBits() const { return {blockBits_.data(), Count()}; }
  std::span<const double> BitErrorHz() const { return {bitErrorHz_.data(), Count()}; }
  std::span<const double, DecimatedBlockSamples> Deviation() const { return deviation_; }
  double MixerPhase() const { return mixerPhase_; }
  double LastPhase() const { return lastPhase_; }
  const BitClock& Clock() const { return clock_; }

 private:
  using Block = std::array<double, DecimatedBlockSamples>;

  std::size_t Count() const { return static_cast<std::size_t>(blockBitCount_); }
  void Decimate(std::span<double, BlockFrames> block);
  void Mix(std::span<double, BlockFrames> block, const double& centerFrequency,
           DemodulatorOutputs& outputs);
  void MeasureDeviation();
  void SampleBits(DemodulatorOutputs& outputs);
  void SetTuningOffset(DemodulatorOutputs& outputs) const;

  DecimationFir decimation_;
  BlockFir<ChannelFilterTaps, DecimatedBlockSamples> channel_;
  BlockFir<HilbertFilterTaps, DecimatedBlockSamples> hilbert_;
  BlockFir<PostDetectionFilterTaps, DecimatedBlockSamples> postDetection_;
  BitClock clock_;

  double mixerPhase_ = 0;
  double lastPhase_ = 0;
  Block deviation_{};
  std::array<std::uint8_t, MaxBlockBits> blockBits_{};
  std::array<double, MaxBlockBits> bitErrorHz_{};
  int blockBitCount_ = 0;
};

}  // namespace seaherald
