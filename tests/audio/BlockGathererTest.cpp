#include "audio/BlockGatherer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace seaherald {
namespace {

// Hands out fresh storage until `capacity` blocks are held; keeps the completed blocks.
class CollectingStore final : public BlockStore {
 public:
  CollectingStore(std::size_t blockBytes, std::size_t capacity)
      : blockBytes_(blockBytes), capacity_(capacity) {}
  std::span<std::byte> BeginBlock() override {
    if (completed.size() >= capacity_) return {};
    current_.assign(blockBytes_, std::byte{0});
    return current_;
  }
  void EndBlock() override { completed.push_back(current_); }
  std::vector<std::vector<std::byte>> completed;

 private:
  std::size_t blockBytes_;
  std::size_t capacity_;
  std::vector<std::byte> current_;
};

std::vector<std::byte> CountingStream(std::size_t length) {
  std::vector<std::byte> stream(length);
  for (std::size_t i = 0; i < length; ++i)
    stream[i] = static_cast<std::byte>((i * 7 + i / 251) & 0xFF);
  return stream;
}

// Feeds `stream` in chunks of the given sizes, cycling through them.
void FeedInChunks(BlockGatherer& gatherer, BlockStore& store, std::span<const std::byte> stream,
                  const std::vector<std::size_t>& sizes) {
  std::size_t offset = 0;
  for (std::size_t i = 0; offset < stream.size(); ++i) {
    const std::size_t size = std::min(sizes[i % sizes.size()], stream.size() - offset);
    gatherer.Feed(stream.subspan(offset, size), store);
    offset += size;
  }
}

TEST(BlockGatherer, UnevenChunksGiveExactConsecutiveBlocks) {
  constexpr std::size_t Block = 17640;
  const std::vector<std::vector<std::size_t>> chunkings = {
      {8192, 18432, 4096, 16384},  // the sizes a sound server really delivers
      {1, 3, 17639, 2, 17641},     // odd sizes that cut frames and samples in half
      {Block},                     // exactly one block each
      {Block * 3 + 5},             // several blocks in one chunk
  };
  const auto stream = CountingStream(Block * 7 + 1234);
  for (const auto& sizes : chunkings) {
    CollectingStore store(Block, 100);
    BlockGatherer gatherer(Block);
    FeedInChunks(gatherer, store, stream, sizes);
    ASSERT_EQ(store.completed.size(), 7u) << "first chunk size " << sizes.front();
    for (std::size_t b = 0; b < 7; ++b) {
      const std::vector<std::byte> expected(stream.begin() + b * Block,
                                            stream.begin() + (b + 1) * Block);
      EXPECT_EQ(store.completed[b], expected) << "block " << b << ", first chunk " << sizes.front();
    }
  }
}

TEST(BlockGatherer, BlockStartingWithoutRoomIsSkippedWholeAndLaterBlocksKeepTheirPlace) {
  constexpr std::size_t Block = 16;
  const auto stream = CountingStream(Block * 5);
  CollectingStore store(Block, 2);
  BlockGatherer gatherer(Block);
  FeedInChunks(gatherer, store, std::span(stream).first(Block * 3), {5});
  ASSERT_EQ(store.completed.size(), 2u);
  EXPECT_EQ(gatherer.DroppedBlocks(), 1u);

  // Room again: the next block starts exactly at a block boundary of the stream.
  store.completed.erase(store.completed.begin());
  FeedInChunks(gatherer, store, std::span(stream).subspan(Block * 3), {7});
  ASSERT_EQ(store.completed.size(), 2u);
  EXPECT_EQ(store.completed[1],
            std::vector<std::byte>(stream.begin() + Block * 3, stream.begin() + Block * 4));
  EXPECT_EQ(gatherer.DroppedBlocks(), 2u);
}

TEST(BlockGatherer, ResetForgetsAPartBlock) {
  constexpr std::size_t Block = 8;
  const auto stream = CountingStream(Block * 2);
  CollectingStore store(Block, 10);
  BlockGatherer gatherer(Block);
  gatherer.Feed(std::span(stream).first(5), store);
  gatherer.Reset();
  gatherer.Feed(std::span(stream).subspan(Block), store);
  ASSERT_EQ(store.completed.size(), 1u);
  EXPECT_EQ(store.completed[0], std::vector<std::byte>(stream.begin() + Block, stream.end()));
}

}  // namespace
}  // namespace seaherald
