#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>

#include "audio/BufferAllocator.h"
#include "audio/SoundBackend.h"
#include "audio/WaveFormat.h"

namespace seaherald {

// The output ring: BufferCount buffers, each written with one monitor block at OutputIndex and
// queued until the output has taken all of it. A buffer that is still queued cannot be written
// again; that block is lost, as when the output falls 3.2 s behind.
class OutputRing {
 public:
  bool Allocate(const BufferAllocator& allocator);
  void Release();
  bool Allocated() const { return allocated_; }

  // Forgets the queued audio; OutputIndex is 0 again.
  void Reset();

  int OutputIndex() const { return outputIndex_; }
  std::size_t QueuedBlocks() const { return queue_.size(); }

  // Copies `block` into the buffer at OutputIndex and queues it; OutputIndex advances either way.
  // False when that buffer was still queued and the block was dropped.
  bool Write(std::span<const std::int16_t, BlockSamples> block);
  // Hands queued audio to the output, oldest first, as far as the output takes it.
  void Pump(OutputStream& output);

 private:
  std::array<std::unique_ptr<std::int16_t[]>, BufferCount> buffers_;
  std::array<bool, BufferCount> queued_{};
  std::deque<int> queue_;     // buffer indexes in the order written
  std::size_t headSent_ = 0;  // bytes of the oldest queued buffer already taken by the output
  bool allocated_ = false;
  int outputIndex_ = 0;
};

}  // namespace seaherald
