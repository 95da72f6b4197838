#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tools/BlockSource.h"
#include "tools/ResampledChannels.h"

namespace seaherald::decodetool {

// How a raw PCM stream is laid out: signed 16-bit little-endian frames of `channels` interleaved
// samples at `rate` Hz.
struct RawPcmLayout {
  int channels = 1;
  int rate = DecoderInputRate;
};

// Raw PCM from a stream such as standard input, the end of a pipe from a software-defined radio.
// The picked channel (counted from 0) becomes the left channel of the blocks and the picked right
// one, else the second (the first again for mono), the right one, as from a recording. Other rates
// are resampled to 44 100 Hz. The stream may end anywhere; a last partial block is filled up with
// silence.
class RawPcmSource : public BlockSource {
 public:
  // The layout and the channels are checked by the caller: the channels exist, the rate converts.
  explicit RawPcmSource(std::FILE* stream, RawPcmLayout layout = {}, int leftChannel = 0,
                        std::optional<int> rightChannel = std::nullopt);
  ~RawPcmSource() override;
  RawPcmSource(const RawPcmSource&) = delete;
  RawPcmSource& operator=(const RawPcmSource&) = delete;

  std::size_t NextBlock(StereoBlockBuffer block) override;
  std::optional<double> DurationSeconds() const override { return std::nullopt; }
  std::optional<std::string> Defect() const override { return defect_; }

 private:
  // Reads the next stretch of the stream into the pending samples; false once it has ended.
  bool Refill();
  void NoteShortEnd(std::size_t bytesRead);

  std::FILE* stream_;
  RawPcmLayout layout_;
  std::size_t leftChannel_;
  std::size_t rightChannel_;
  std::vector<unsigned char> bytes_;
  ResampledChannels channels_;
  bool ended_ = false;
  std::optional<std::string> defect_;
};

}  // namespace seaherald::decodetool
