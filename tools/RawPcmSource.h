#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "tools/BlockSource.h"

namespace seaherald::decodetool {

// Raw signed 16-bit little-endian mono PCM at 44 100 Hz from a stream such as standard input,
// the end of a pipe from a software-defined radio. Each sample goes to both channels of the
// blocks. The stream may end anywhere; a last partial block is filled up with silence.
class RawPcmSource : public BlockSource {
 public:
  explicit RawPcmSource(std::FILE* stream) : stream_(stream) {}

  std::size_t NextBlock(StereoBlockBuffer block) override;
  std::optional<double> DurationSeconds() const override { return std::nullopt; }
  std::optional<std::string> Defect() const override { return defect_; }

 private:
  std::FILE* stream_;
  bool ended_ = false;
  std::optional<std::string> defect_;
};

}  // namespace seaherald::decodetool
