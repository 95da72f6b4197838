#pragma once

#include <array>
#include <span>

#include "decoder/BlockConstants.h"
#include "decoder/CharacterDecoder.h"
#include "decoder/CodeHandler.h"
#include "decoder/DecodedLine.h"
#include "decoder/DecoderSettings.h"
#include "decoder/Demodulator.h"
#include "decoder/DemodulatorOutputs.h"
#include "decoder/SoftCharacterDecoder.h"
#include "decoder/SoftDemodulator.h"

namespace seaherald {

// One decoder channel slot: its sample block, its line and code handling, and two receive paths
// that write to them: the standard one (demodulator and character decoder) and the
// high-sensitivity one (soft demodulator and soft character decoder). The settings choose the
// path at every block.
class DecoderChannel {
 public:
  DecoderChannel(DecoderSettings settings, ReceptionIndicators& indicators, LineSink& sink);
  DecoderChannel(const DecoderChannel&) = delete;
  DecoderChannel& operator=(const DecoderChannel&) = delete;

  std::span<double, BlockFrames> SampleBlock() { return sampleBlock_; }
  // Demodulates the sample block on the chosen path, then hands its bits, in order, to that
  // path's character decoder.
  void DecodeBlock(DemodulatorOutputs& outputs);

  const Demodulator& Demod() const { return demodulator_; }
  const CharacterDecoder& Characters() const { return characters_; }
  const SoftDemodulator& SoftDemod() const { return softDemodulator_; }
  const SoftCharacterDecoder& SoftCharacters() const { return softCharacters_; }
  bool SensitivePath() const { return sensitiveActive_; }
  // Of the path in use.
  bool CharSync() const;
  int PairBitCounter() const;
  const std::string& Line() const { return line_.Text(); }
  int ShiftState() const { return codes_.ShiftState(); }

 private:
  void SwitchPath(bool sensitive);
  void DecodeSensitive(DemodulatorOutputs& outputs);

  const double& centerFrequency_;
  const bool& sensitive_;
  bool sensitiveActive_ = false;
  std::array<double, BlockFrames> sampleBlock_{};
  DecodedLine line_;
  CodeHandler codes_;
  Demodulator demodulator_;
  CharacterDecoder characters_;
  SoftDemodulator softDemodulator_;
  SoftCharacterDecoder softCharacters_;
};

}  // namespace seaherald
