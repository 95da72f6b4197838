#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "decoder/Decoder.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"
#include "tools/BlockSource.h"

namespace seaherald::decodetool {

struct DecoderStart {
  double centerHz = 800.0;
  bool english = false;
  bool inverted = false;
  bool automatic = true;
};

// Hears how far the decoding has come.
class ProgressListener {
 public:
  virtual ~ProgressListener() = default;
  virtual void Advanced(double secondsDecoded) = 0;
};

// The receiver's per-block path without a window: the left channel of each 4410-frame block goes
// unscaled into channel 0's sample block, and channel 0 is decoded. Lines go to the sink.
class DecodeRunner {
 public:
  DecodeRunner(const DecoderStart& start, LineSink& sink);

  void DecodeBlock(std::span<const std::int16_t, StereoBlockSamples> block);

  // Runs every block of the source, then half a second of silence so that the last bits pass the
  // filters and a line still in progress is handed over (cut) as the signal ends. Returns the
  // frames that came from the source.
  std::size_t Run(BlockSource& source, ProgressListener* progress = nullptr);

  bool English() const { return decLang_; }
  bool Inverted() const { return decInv_; }

 private:
  void DecodeSilence(std::size_t blocks);

  bool decLang_;
  bool decInv_;
  bool autoSet_;
  double centerFrequency_;
  ReceptionIndicators indicators_;
  Decoder decoder_;
};

}  // namespace seaherald::decodetool
