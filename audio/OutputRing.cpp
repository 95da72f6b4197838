#include "audio/OutputRing.h"

#include <algorithm>

namespace seaherald {

bool OutputRing::Allocate(const BufferAllocator& allocator) {
  Release();
  if (!AllocateBuffers(buffers_, allocator, BlockSamples)) return false;
  allocated_ = true;
  return true;
}

void OutputRing::Release() {
  Reset();
  for (auto& buffer : buffers_)
    buffer.reset();
  allocated_ = false;
}

void OutputRing::Reset() {
  queue_.clear();
  queued_.fill(false);
  headSent_ = 0;
  outputIndex_ = 0;
}

bool OutputRing::Write(std::span<const std::int16_t, BlockSamples> block) {
  if (!allocated_) return false;
  const int index = outputIndex_;
  outputIndex_ = (outputIndex_ + 1) % BufferCount;
  if (queued_[index]) return false;
  std::copy(block.begin(), block.end(), buffers_[index].get());
  queued_[index] = true;
  queue_.push_back(index);
  return true;
}

void OutputRing::Pump(OutputStream& output) {
  while (!queue_.empty()) {
    const int index = queue_.front();
    const auto bytes = std::as_bytes(std::span(buffers_[index].get(), BlockSamples));
    const std::size_t taken = output.Write(bytes.subspan(headSent_));
    headSent_ += std::min(taken, bytes.size() - headSent_);
    if (headSent_ < bytes.size()) return;
    headSent_ = 0;
    queued_[index] = false;
    queue_.pop_front();
  }
}

}  // namespace seaherald
