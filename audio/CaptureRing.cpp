#include "audio/CaptureRing.h"

#include <algorithm>
#include <stdexcept>

namespace seaherald {

bool CaptureRing::Allocate(const BufferAllocator& allocator) {
  Release();
  if (!AllocateBuffers(buffers_, allocator, BlockSamples)) return false;
  allocated_ = true;
  return true;
}

void CaptureRing::Release() {
  for (auto& buffer : buffers_)
    buffer.reset();
  allocated_ = false;
  Reset();
}

void CaptureRing::Reset() {
  captureIndex_ = 0;
  filledCount_ = 0;
}

std::span<std::byte> CaptureRing::BeginBlock() {
  if (!allocated_ || filledCount_ == BufferCount) return {};
  return std::as_writable_bytes(std::span(buffers_[FillIndex()].get(), BlockSamples));
}

void CaptureRing::EndBlock() {
  if (filledCount_ < BufferCount) ++filledCount_;
}

void CaptureRing::TakeBlock(std::span<std::int16_t, BlockSamples> block) {
  if (filledCount_ == 0) throw std::logic_error("CaptureRing: no filled block to take");
  const std::int16_t* source = buffers_[captureIndex_].get();
  std::copy(source, source + BlockSamples, block.begin());
  --filledCount_;
  captureIndex_ = (captureIndex_ + 1) % BufferCount;
}

}  // namespace seaherald
