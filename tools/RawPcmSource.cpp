#include "tools/RawPcmSource.h"

#include <cerrno>
#include <cstring>

namespace seaherald::decodetool {
namespace {

// 16-bit values divided by 32768 are exact in a float and come back unchanged.
constexpr float FullScale = 32768.0F;

float SampleAt(const unsigned char* bytes) {
  return static_cast<float>(
             static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)))) /
         FullScale;
}

}  // namespace

RawPcmSource::RawPcmSource(std::FILE* stream, RawPcmLayout layout, int leftChannel,
                           std::optional<int> rightChannel)
    : stream_(stream),
      layout_(layout),
      leftChannel_(static_cast<std::size_t>(leftChannel)),
      rightChannel_(static_cast<std::size_t>(rightChannel.value_or(layout.channels > 1 ? 1 : 0))),
      bytes_(BlockFrames * 2 * static_cast<std::size_t>(layout.channels)),
      channels_(layout.rate, true) {}

RawPcmSource::~RawPcmSource() = default;

void RawPcmSource::NoteShortEnd(std::size_t bytesRead) {
  const std::size_t frameBytes = 2 * static_cast<std::size_t>(layout_.channels);
  if (std::ferror(stream_)) {
    defect_ = std::string("reading standard input failed: ") + std::strerror(errno);
  } else if (bytesRead % 2 != 0) {
    defect_ = "standard input ended in the middle of a sample (odd number of bytes)";
  } else if (bytesRead % frameBytes != 0) {
    defect_ = "standard input ended in the middle of a frame of " +
              std::to_string(layout_.channels) + " channels (--input-channels)";
  }
}

bool RawPcmSource::Refill() {
  if (ended_) return false;
  std::size_t filled = 0;
  // A pipe delivers in pieces; keep reading until the buffer is full or the stream ends.
  while (filled < bytes_.size()) {
    const std::size_t got = std::fread(bytes_.data() + filled, 1, bytes_.size() - filled, stream_);
    filled += got;
    if (got == 0) break;
  }
  if (filled < bytes_.size()) {
    ended_ = true;
    NoteShortEnd(filled);
  }
  const std::size_t frameBytes = 2 * static_cast<std::size_t>(layout_.channels);
  const std::size_t frames = filled / frameBytes;
  std::vector<float> left(frames);
  std::vector<float> right(frames);
  for (std::size_t f = 0; f < frames; ++f) {
    left[f] = SampleAt(&bytes_[f * frameBytes + 2 * leftChannel_]);
    right[f] = SampleAt(&bytes_[f * frameBytes + 2 * rightChannel_]);
  }
  channels_.Take(left, right, ended_);
  return true;
}

std::size_t RawPcmSource::NextBlock(StereoBlockBuffer block) {
  while (channels_.Pending() < BlockFrames && Refill()) {
  }
  return channels_.Fill(block);
}

}  // namespace seaherald::decodetool
