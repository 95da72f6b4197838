#include "tools/RawPcmSource.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace seaherald::decodetool {

std::size_t RawPcmSource::NextBlock(StereoBlockBuffer block) {
  std::fill(block.begin(), block.end(), std::int16_t{0});
  if (ended_) return 0;
  std::array<unsigned char, BlockFrames * 2> bytes{};
  std::size_t filled = 0;
  // A pipe delivers in pieces; keep reading until the block is full or the stream ends.
  while (filled < bytes.size()) {
    const std::size_t got = std::fread(bytes.data() + filled, 1, bytes.size() - filled, stream_);
    filled += got;
    if (got == 0) break;
  }
  if (filled < bytes.size()) {
    ended_ = true;
    if (std::ferror(stream_)) {
      defect_ = std::string("reading standard input failed: ") + std::strerror(errno);
    } else if (filled % 2 != 0) {
      defect_ = "standard input ended in the middle of a sample (odd number of bytes)";
    }
  }
  const std::size_t frames = filled / 2;
  for (std::size_t f = 0; f < frames; ++f) {
    const auto value = static_cast<std::int16_t>(
        static_cast<std::uint16_t>(bytes[2 * f] | (bytes[2 * f + 1] << 8)));
    block[2 * f] = value;
    block[2 * f + 1] = value;
  }
  return frames;
}

}  // namespace seaherald::decodetool
