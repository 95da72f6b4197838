#pragma once

#include <cstddef>
#include <span>

namespace seaherald {

// Where gathered blocks go: storage for the next block, and word when it is complete.
class BlockStore {
 public:
  virtual ~BlockStore() = default;
  // Storage of exactly one block, or an empty span when none is free (the block is then dropped).
  virtual std::span<std::byte> BeginBlock() = 0;
  // The block handed out by the last BeginBlock is full.
  virtual void EndBlock() = 0;
};

// Cuts a byte stream into blocks of a fixed size, whatever the sizes of the chunks it arrives in.
// A block that starts while the store has no room is skipped whole, so the blocks that do arrive
// keep their frame alignment and their place in the stream.
class BlockGatherer {
 public:
  explicit BlockGatherer(std::size_t blockBytes);

  void Feed(std::span<const std::byte> chunk, BlockStore& store);
  // Forgets a partly gathered block (a device was closed or changed).
  void Reset();

  std::size_t BlockBytes() const { return blockBytes_; }
  std::size_t DroppedBlocks() const { return droppedBlocks_; }

 private:
  std::size_t blockBytes_;
  std::size_t filled_ = 0;  // bytes of the current block seen so far
  std::span<std::byte> target_;
  bool dropping_ = false;
  std::size_t droppedBlocks_ = 0;
};

}  // namespace seaherald
