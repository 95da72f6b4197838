#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "decoder/BlockConstants.h"
#include "decoder/DecoderSettings.h"
#include "decoder/DemodulatorOutputs.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"

namespace seaherald {

class DecoderChannel;

// The whole decoder: two channel slots, of which the block handler decodes channel 0. Each call of
// DecodeBlock turns the channel's SampleBlock into bits, characters and lines.
class Decoder {
 public:
  Decoder(DecoderSettings settings, ReceptionIndicators& indicators, LineSink& sink);
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  // Channel 0 or 1 (std::out_of_range otherwise). The caller fills the block with raw 16-bit sample
  // values before DecodeBlock, which uses it as working storage.
  std::span<double, BlockFrames> SampleBlock(int channel);
  void DecodeBlock(int channel);

  std::span<const double, DecimatedBlockSamples> DisplaySamples() const;
  double TuningOffset() const;
  double ResonatorPeak() const;

  // Read-only views of a channel's state, for tests and tools.
  const DecoderChannel& Channel(int channel) const;
  bool CharSync(int channel) const;
  int PairBitCounter(int channel) const;
  int BlockBitCount(int channel) const;
  std::span<const std::uint8_t> BlockBits(int channel) const;  // BlockBitCount entries, 0 or 1
  std::span<const double> BitErrorHz(int channel) const;       // BlockBitCount entries
  std::span<const double, DecimatedBlockSamples> Deviation(int channel) const;
  const std::string& Line(int channel) const;  // Shift-JIS bytes
  bool DecLang(int channel) const;             // true = English
  bool DecInv(int channel) const;              // true = inverted polarity
  int ShiftState(int channel) const;           // 0 letters, 1 figures

 private:
  DecoderChannel& ChannelAt(int channel);

  bool channel1DecLang_ = false;
  bool channel1DecInv_ = false;
  DemodulatorOutputs outputs_;
  std::array<std::unique_ptr<DecoderChannel>, DecoderChannelCount> channels_;
};

}  // namespace seaherald
