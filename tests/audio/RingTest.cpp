#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "audio/CaptureRing.h"
#include "audio/MonitorBlock.h"
#include "audio/OutputRing.h"
#include "tests/audio/AudioFakes.h"

namespace seaherald {
namespace {

using soundtest::FakeOutput;
using soundtest::FakeOutputHandle;

// Fills the next block of the ring with `value` in every sample; false when the ring had no room.
bool FillBlock(CaptureRing& ring, std::int16_t value) {
  auto storage = ring.BeginBlock();
  if (storage.empty()) return false;
  std::vector<std::int16_t> samples(BlockSamples, value);
  std::memcpy(storage.data(), samples.data(), storage.size());
  ring.EndBlock();
  return true;
}

TEST(CaptureRing, CaptureIndexWrapsAfterTheLastBufferAndBlocksComeOutInOrder) {
  CaptureRing ring;
  ASSERT_TRUE(ring.Allocate(HeapBufferAllocator()));
  std::array<std::int16_t, BlockSamples> block{};
  for (int round = 0; round < 3 * BufferCount + 5; ++round) {
    ASSERT_TRUE(FillBlock(ring, static_cast<std::int16_t>(round)));
    EXPECT_EQ(ring.CaptureIndex(), round % BufferCount);
    ring.TakeBlock(block);
    EXPECT_EQ(block.front(), round);
    EXPECT_EQ(block.back(), round);
  }
  EXPECT_EQ(ring.CaptureIndex(), (3 * BufferCount + 5) % BufferCount);
}

TEST(CaptureRing, HoldsAtMostOneRingOfBlocksAndFreesABufferWhenItsBlockIsTaken) {
  CaptureRing ring;
  ASSERT_TRUE(ring.Allocate(HeapBufferAllocator()));
  for (int i = 0; i < BufferCount; ++i)
    ASSERT_TRUE(FillBlock(ring, static_cast<std::int16_t>(i)));
  EXPECT_EQ(ring.FilledCount(), BufferCount);
  EXPECT_FALSE(FillBlock(ring, 99));

  std::array<std::int16_t, BlockSamples> block{};
  ring.TakeBlock(block);
  EXPECT_EQ(block[0], 0);
  EXPECT_TRUE(FillBlock(ring, 99));  // the buffer just taken is the one filled next
  for (int i = 1; i < BufferCount; ++i) {
    ring.TakeBlock(block);
    EXPECT_EQ(block[0], i);
  }
  ring.TakeBlock(block);
  EXPECT_EQ(block[0], 99);
  EXPECT_THROW(ring.TakeBlock(block), std::logic_error);
}

TEST(Rings, RefusedBufferLeavesTheRingUnallocatedAndWithoutRoom) {
  int handedOut = 0;
  const BufferAllocator refuseTheSixth = [&](std::size_t samples) {
    return handedOut++ == 5 ? nullptr : std::unique_ptr<std::int16_t[]>(new std::int16_t[samples]);
  };
  CaptureRing capture;
  EXPECT_FALSE(capture.Allocate(refuseTheSixth));
  EXPECT_FALSE(capture.Allocated());
  EXPECT_TRUE(capture.BeginBlock().empty());

  handedOut = 0;
  OutputRing output;
  EXPECT_FALSE(output.Allocate(refuseTheSixth));
  EXPECT_FALSE(output.Allocated());
  std::array<std::int16_t, BlockSamples> block{};
  EXPECT_FALSE(output.Write(block));
}

std::array<std::int16_t, BlockSamples> FilledBlock(std::int16_t value) {
  std::array<std::int16_t, BlockSamples> block;
  block.fill(value);
  return block;
}

std::vector<std::int16_t> PlayedSamples(const FakeOutputHandle& handle) {
  std::vector<std::int16_t> samples(handle.played.size() / 2);
  std::memcpy(samples.data(), handle.played.data(), samples.size() * 2);
  return samples;
}

TEST(OutputRing, PlaysBlocksInOrderThroughPartialWrites) {
  OutputRing ring;
  ASSERT_TRUE(ring.Allocate(HeapBufferAllocator()));
  auto handle = std::make_shared<FakeOutputHandle>();
  FakeOutput output(handle);
  handle->room = 10000;  // less than one block
  ASSERT_TRUE(ring.Write(FilledBlock(1)));
  ASSERT_TRUE(ring.Write(FilledBlock(2)));
  ring.Pump(output);
  EXPECT_EQ(handle->played.size(), 10000u);
  EXPECT_EQ(ring.QueuedBlocks(), 2u);
  handle->room = 20000;  // finishes the first block, starts the second
  ring.Pump(output);
  EXPECT_EQ(ring.QueuedBlocks(), 1u);
  handle->room.reset();
  ring.Pump(output);
  EXPECT_EQ(ring.QueuedBlocks(), 0u);

  const auto samples = PlayedSamples(*handle);
  ASSERT_EQ(samples.size(), 2u * BlockSamples);
  EXPECT_TRUE(std::all_of(samples.begin(), samples.begin() + BlockSamples,
                          [](std::int16_t s) { return s == 1; }));
  EXPECT_TRUE(std::all_of(samples.begin() + BlockSamples, samples.end(),
                          [](std::int16_t s) { return s == 2; }));
}

TEST(OutputRing, AStalledOutputLosesBlocksButTheIndexKeepsTurning) {
  OutputRing ring;
  ASSERT_TRUE(ring.Allocate(HeapBufferAllocator()));
  for (int i = 0; i < BufferCount; ++i)
    EXPECT_TRUE(ring.Write(FilledBlock(static_cast<std::int16_t>(i))));
  EXPECT_EQ(ring.OutputIndex(), 0);
  EXPECT_FALSE(ring.Write(FilledBlock(100)));  // buffer 0 still waits to be played
  EXPECT_EQ(ring.OutputIndex(), 1);

  auto handle = std::make_shared<FakeOutputHandle>();
  FakeOutput output(handle);
  ring.Pump(output);
  const auto samples = PlayedSamples(*handle);
  ASSERT_EQ(samples.size(), static_cast<std::size_t>(BufferCount) * BlockSamples);
  EXPECT_EQ(samples.front(), 0);
  EXPECT_EQ(samples.back(), BufferCount - 1);
}

TEST(MonitorBlock, LeftChannelOnBothSidesAndRightNeverHeard) {
  std::array<std::int16_t, BlockSamples> captured{};
  for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
    captured[frame * 2] = soundtest::LeftPattern(frame * 13);
    captured[frame * 2 + 1] = soundtest::RightPattern(frame);
  }
  captured[0] = -32768;
  captured[2] = 32767;
  std::array<std::int16_t, BlockSamples> monitor{};
  FillMonitorBlock(captured, monitor);
  for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
    ASSERT_EQ(monitor[frame * 2], captured[frame * 2]) << frame;
    ASSERT_EQ(monitor[frame * 2 + 1], captured[frame * 2]) << frame;
  }
}

}  // namespace
}  // namespace seaherald
