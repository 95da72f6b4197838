#pragma once

#include <array>
#include <span>

#include "decoder/BlockConstants.h"
#include "decoder/CharacterDecoder.h"
#include "decoder/DecoderSettings.h"
#include "decoder/Demodulator.h"
#include "decoder/DemodulatorOutputs.h"

namespace seaherald {

// One decoder channel slot: its sample block, demodulator, character decoder, code handling and
// line, with the settings it reads.
class DecoderChannel {
 public:
  DecoderChannel(DecoderSettings settings, ReceptionIndicators& indicators, LineSink& sink);
  DecoderChannel(const DecoderChannel&) = delete;
  DecoderChannel& operator=(const DecoderChannel&) = delete;

  std::span<double, BlockFrames> SampleBlock() { return sampleBlock_; }
  // Demodulates the sample block, then hands its bits, in order, to the character decoder.
  void DecodeBlock(DemodulatorOutputs& outputs);

  const Demodulator& Demod() const { return demodulator_; }
  const CharacterDecoder& Characters() const { return characters_; }

 private:
  const double& centerFrequency_;
  std::array<double, BlockFrames> sampleBlock_{};
  Demodulator demodulator_;
  CharacterDecoder characters_;
};

}  // namespace seaherald
