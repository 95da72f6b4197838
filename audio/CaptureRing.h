#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "audio/BlockGatherer.h"
#include "audio/BufferAllocator.h"
#include "audio/WaveFormat.h"

namespace seaherald {

// The capture ring: BufferCount buffers of one block each, filled in ring order by the gatherer
// and handed to the block handler in the same order. CaptureIndex names the buffer that the next
// handled block comes from. A buffer goes back to the filling side as soon as its block has been
// copied out, so the filler stays BufferCount blocks ahead of the handler at most.
class CaptureRing final : public BlockStore {
 public:
  // Gets every buffer; false when one is refused, with the buffers already obtained released.
  bool Allocate(const BufferAllocator& allocator);
  void Release();
  bool Allocated() const { return allocated_; }

  // Empties the ring: no block waits and CaptureIndex is 0 again.
  void Reset();

  std::span<std::byte> BeginBlock() override;
  void EndBlock() override;

  int CaptureIndex() const { return captureIndex_; }
  int FilledCount() const { return filledCount_; }
  // Copies the block at CaptureIndex into `block`, gives its buffer back to the filling side and
  // advances CaptureIndex. Only when FilledCount() > 0.
  void TakeBlock(std::span<std::int16_t, BlockSamples> block);

 private:
  int FillIndex() const { return (captureIndex_ + filledCount_) % BufferCount; }

  std::array<std::unique_ptr<std::int16_t[]>, BufferCount> buffers_;
  bool allocated_ = false;
  int captureIndex_ = 0;
  int filledCount_ = 0;  // full buffers from CaptureIndex on, waiting for the handler
};

}  // namespace seaherald
