#include "audio/BlockGatherer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace seaherald {

BlockGatherer::BlockGatherer(std::size_t blockBytes) : blockBytes_(blockBytes) {
  if (blockBytes == 0) throw std::invalid_argument("BlockGatherer: block size must not be zero");
}

void BlockGatherer::Feed(std::span<const std::byte> chunk, BlockStore& store) {
  while (!chunk.empty()) {
    if (filled_ == 0) {
      target_ = store.BeginBlock();
      dropping_ = target_.size() < blockBytes_;
    }
    const std::size_t count = std::min(blockBytes_ - filled_, chunk.size());
    if (!dropping_) std::memcpy(target_.data() + filled_, chunk.data(), count);
    filled_ += count;
    chunk = chunk.subspan(count);
    if (filled_ < blockBytes_) break;
    filled_ = 0;
    target_ = {};
    if (dropping_) {
      ++droppedBlocks_;
    } else {
      store.EndBlock();
    }
  }
}

void BlockGatherer::Reset() {
  filled_ = 0;
  target_ = {};
  dropping_ = false;
}

}  // namespace seaherald
