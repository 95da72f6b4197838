#include "audio/SoundDevices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "audio/InputDeviceSelection.h"
#include "platform/CodePage.h"
#include "tests/audio/AudioFakes.h"

namespace seaherald {
namespace {

using soundtest::FakeBackend;
using soundtest::LeftPattern;
using soundtest::RecordingDialogs;
using soundtest::RightPattern;
using soundtest::StereoBytes;

const std::string CaptureOpenFailed = Cp932Text(
    "録音デバイスをオープンできないためプログラムの実行ができません\n"
    "デバイスが使用中か録音フォーマットに対応していない可能性があります");
const std::string CaptureBufferFailed = Cp932Text(
    "バッファを確保できないためプログラムの実行ができません\n"
    "メモリが不足している可能性があります");

// A SoundDevices wired to fakes; every handled block is kept as its first left sample and a copy.
struct Rig {
  FakeBackend backend;
  RecordingDialogs dialogs;
  bool monitor = false;
  int windowCloses = 0;
  std::vector<std::vector<std::int16_t>> blocks;
  std::function<void()> duringBlock;  // runs inside the handler, after the block is recorded
  SoundDevices devices;

  explicit Rig(BufferAllocator allocator = HeapBufferAllocator())
      : devices(backend, dialogs, MakeHooks(), std::move(allocator)) {}

  SoundDevices::Hooks MakeHooks() {
    SoundDevices::Hooks hooks;
    hooks.processBlock = [this](StereoBlock block) {
      blocks.emplace_back(block.begin(), block.end());
      if (duringBlock) duringBlock();
    };
    hooks.monitorDown = [this] { return monitor; };
    hooks.closeMainWindow = [this] { ++windowCloses; };
    return hooks;
  }
};

std::vector<std::byte> Frames(std::size_t first, std::size_t count) {
  return StereoBytes(first, count, LeftPattern, RightPattern);
}

// Feeds frames [first, first + count) to a capture in the uneven chunk sizes a server delivers.
void DeliverFrames(const soundtest::FakeInputHandle& input, std::size_t first, std::size_t count) {
  const auto bytes = Frames(first, count);
  const std::size_t sizes[] = {8192, 18432, 12000, 4};
  std::size_t offset = 0;
  for (std::size_t i = 0; offset < bytes.size(); ++i) {
    const std::size_t size = std::min(sizes[i % 4], bytes.size() - offset);
    input.Deliver(std::span(bytes).subspan(offset, size));
    offset += size;
  }
}

void ExpectBlockIsFrames(const std::vector<std::int16_t>& block, std::size_t firstFrame) {
  ASSERT_EQ(block.size(), static_cast<std::size_t>(BlockSamples));
  for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
    ASSERT_EQ(block[frame * 2], LeftPattern(firstFrame + frame)) << "frame " << frame;
    ASSERT_EQ(block[frame * 2 + 1], RightPattern(firstFrame + frame)) << "frame " << frame;
  }
}

TEST(SoundDevicesOpen, DefaultInputThatCannotOpenBeepsAndShowsTheTwoLineError) {
  Rig rig;
  rig.backend.inputOpens = false;
  EXPECT_FALSE(rig.devices.OpenWaveIn(std::nullopt));
  EXPECT_EQ(rig.dialogs.events, (std::vector<std::string>{"beep", "error:" + CaptureOpenFailed}));
  EXPECT_FALSE(rig.devices.CaptureOpen());
}

TEST(SoundDevicesOpen, ChosenInputThatCannotOpenFailsSilently) {
  Rig rig;
  rig.backend.inputOpens = false;
  EXPECT_FALSE(rig.devices.OpenWaveIn(std::string("usb-1")));
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(SoundDevicesOpen, RefusedCaptureBufferReleasesTheDeviceAndReportsOnlyForTheDefault) {
  int count = 0;
  Rig rig([&count](std::size_t samples) {
    return ++count == 20 ? nullptr : std::unique_ptr<std::int16_t[]>(new std::int16_t[samples]);
  });
  EXPECT_FALSE(rig.devices.OpenWaveIn(std::nullopt));
  EXPECT_EQ(rig.dialogs.events, (std::vector<std::string>{"beep", "error:" + CaptureBufferFailed}));
  EXPECT_FALSE(*rig.backend.LastInput().alive) << "the device opened before the buffers was kept";
  EXPECT_FALSE(rig.devices.CaptureOpen());

  count = 0;
  rig.dialogs.events.clear();
  EXPECT_FALSE(rig.devices.OpenWaveIn(std::string("usb-1")));
  EXPECT_TRUE(rig.dialogs.events.empty());
  EXPECT_FALSE(*rig.backend.LastInput().alive);
}

TEST(SoundDevicesOpen, OpensTheRequestedDeviceAndClosingTwiceSucceeds) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::string("usb-2")));
  EXPECT_EQ(rig.backend.LastInput().deviceId, std::optional<std::string>("usb-2"));
  EXPECT_TRUE(rig.devices.CaptureRunning());
  EXPECT_TRUE(rig.devices.CloseWaveIn());
  EXPECT_FALSE(*rig.backend.LastInput().alive);
  EXPECT_TRUE(rig.devices.CloseWaveIn());
  rig.devices.CloseWaveOut();
  rig.devices.CloseWaveOut();
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(SoundDevicesOutput, OutputThatCannotOpenReportsAndClosesTheMainWindow) {
  Rig rig;
  rig.backend.outputOpens = false;
  rig.devices.OpenWaveOut();
  EXPECT_EQ(
      rig.dialogs.events,
      (std::vector<std::string>{"beep", "error:" + Cp932Text("再生デバイスをオープンできません")}));
  EXPECT_EQ(rig.windowCloses, 1);
  EXPECT_FALSE(rig.devices.OutputOpen());
}

TEST(SoundDevicesOutput, RefusedOutputBufferReportsAndClosesTheMainWindow) {
  int count = 0;
  Rig rig([&count](std::size_t samples) {
    return ++count == 32 ? nullptr : std::unique_ptr<std::int16_t[]>(new std::int16_t[samples]);
  });
  rig.devices.OpenWaveOut();
  EXPECT_EQ(rig.dialogs.events,
            (std::vector<std::string>{"beep", "error:" + Cp932Text("バッファを確保できません")}));
  EXPECT_EQ(rig.windowCloses, 1);
  EXPECT_FALSE(*rig.backend.outputs.back()->alive);
}

TEST(SoundDevicesBlocks, UnevenChunksBecomeOneHandlerCallPerExactBlockInOrder) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  DeliverFrames(rig.backend.LastInput(), 0, BlockFrames * 40 + 100);
  ASSERT_EQ(rig.blocks.size(), 40u);
  for (std::size_t b = 0; b < rig.blocks.size(); ++b)
    ExpectBlockIsFrames(rig.blocks[b], b * BlockFrames);
  EXPECT_EQ(rig.devices.CaptureIndex(), 40 % BufferCount);
}

TEST(SoundDevicesBlocks, CloseAndReopenStartAgainAtBufferZeroWithNoOldData) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  DeliverFrames(rig.backend.LastInput(), 0, BlockFrames * 3 + 500);  // part block left over
  ASSERT_EQ(rig.devices.CaptureIndex(), 3);
  rig.devices.CloseWaveIn();
  EXPECT_EQ(rig.devices.CaptureIndex(), 0);
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  DeliverFrames(rig.backend.LastInput(), 1000000, BlockFrames);
  ASSERT_EQ(rig.blocks.size(), 4u);
  ExpectBlockIsFrames(rig.blocks[3], 1000000);  // the old part block is not prepended
  EXPECT_EQ(rig.devices.CaptureIndex(), 1);
}

TEST(SoundDevicesLate, DataAndFailuresFromAClosedOrReplacedCaptureAreIgnored) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  const auto first = rig.backend.LastInput();
  rig.devices.CloseWaveIn();
  DeliverFrames(first, 0, BlockFrames * 2);
  EXPECT_TRUE(rig.blocks.empty());

  ASSERT_TRUE(rig.devices.OpenWaveIn(std::string("usb-1")));
  const auto second = rig.backend.LastInput();
  DeliverFrames(first, 0, BlockFrames * 2);
  first.Fail();
  EXPECT_TRUE(rig.blocks.empty());
  EXPECT_TRUE(rig.devices.CaptureRunning());
  EXPECT_EQ(rig.devices.CaptureIndex(), 0);

  DeliverFrames(second, 500, BlockFrames);
  ASSERT_EQ(rig.blocks.size(), 1u);
  ExpectBlockIsFrames(rig.blocks[0], 500);
}

TEST(SoundDevicesLate, BlocksCompletedWhileTheHandlerRunsWaitAndFollowInOrder) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  const auto input = rig.backend.LastInput();
  int depth = 0;
  int deepest = 0;
  bool nested = false;
  rig.duringBlock = [&] {
    ++depth;
    deepest = std::max(deepest, depth);
    if (!nested) {  // as if a modal dialog inside the handler let more audio in
      nested = true;
      DeliverFrames(input, BlockFrames, BlockFrames * 3);
    }
    --depth;
  };
  DeliverFrames(input, 0, BlockFrames);
  EXPECT_EQ(deepest, 1) << "the block handler was re-entered";
  ASSERT_EQ(rig.blocks.size(), 4u);
  for (std::size_t b = 0; b < 4; ++b)
    ExpectBlockIsFrames(rig.blocks[b], b * BlockFrames);
}

TEST(SoundDevicesLate, ClosingFromInsideTheHandlerStopsFurtherBlocksOfThatCapture) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  const auto input = rig.backend.LastInput();
  rig.duringBlock = [&] { rig.devices.CloseWaveIn(); };
  DeliverFrames(input, 0, BlockFrames * 5);  // several blocks in one go
  EXPECT_EQ(rig.blocks.size(), 1u);
  EXPECT_FALSE(rig.devices.CaptureOpen());
}

TEST(SoundDevicesFailure, ALostServerStopsTheCaptureQuietlyAndAReopenWorks) {
  Rig rig;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  rig.devices.OpenWaveOut();
  const auto input = rig.backend.LastInput();
  DeliverFrames(input, 0, BlockFrames);
  input.Fail();
  rig.backend.outputs.back()->failed();
  EXPECT_FALSE(rig.devices.CaptureRunning());
  EXPECT_TRUE(rig.devices.OutputFailed());
  DeliverFrames(input, BlockFrames, BlockFrames);
  EXPECT_EQ(rig.blocks.size(), 1u);
  EXPECT_TRUE(rig.dialogs.events.empty());
  EXPECT_EQ(rig.windowCloses, 0);

  // While the server is away, neither comes back, and the output is tried again with each capture.
  rig.backend.inputOpens = false;
  rig.backend.outputOpens = false;
  EXPECT_FALSE(rig.devices.OpenWaveIn(std::nullopt));
  EXPECT_TRUE(rig.devices.OutputFailed());
  EXPECT_EQ(rig.windowCloses, 0) << "a lost monitor output is no reason to end the program";
  rig.dialogs.events.clear();

  // The user picks a device again: capture and monitor output both come back.
  rig.backend.inputOpens = true;
  rig.backend.outputOpens = true;
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  EXPECT_EQ(rig.backend.outputs.size(), 2u);
  EXPECT_FALSE(rig.devices.OutputFailed());
  rig.monitor = true;
  DeliverFrames(rig.backend.LastInput(), 0, BlockFrames);
  EXPECT_EQ(rig.blocks.size(), 2u);
  EXPECT_EQ(rig.backend.outputs.back()->played.size(), static_cast<std::size_t>(BlockBytes));
}

// A stream can stop delivering without any error from its server. The retry timer's watch
// declares it lost only after whole intervals of silence, and the retry then opens it again.
TEST(SoundDevicesFailure, ACaptureThatGoesQuietIsReopenedByTheRetry) {
  Rig rig;
  std::string waveInName = "Default input device";
  int deviceIndex = 0;
  InputDeviceSelection selection(waveInName, deviceIndex, rig.backend, rig.devices, rig.dialogs);
  selection.ListInputDevices();
  selection.OpenSelectedDevice();
  ASSERT_EQ(rig.backend.inputs.size(), 1u);

  // Data in every interval keeps it running, however many intervals pass.
  for (std::size_t interval = 0; interval < 2 * SoundDevices::QuietWatchesToFail; ++interval) {
    DeliverFrames(rig.backend.LastInput(), interval * BlockFrames, BlockFrames);
    EXPECT_FALSE(selection.RetryLostCapture());
  }
  EXPECT_EQ(rig.backend.inputs.size(), 1u);

  // Quiet: running until the last quiet interval, then reopened at once.
  for (int watch = 1; watch < SoundDevices::QuietWatchesToFail; ++watch) {
    EXPECT_FALSE(selection.RetryLostCapture());
    EXPECT_TRUE(rig.devices.CaptureRunning());
  }
  EXPECT_TRUE(selection.RetryLostCapture());
  ASSERT_EQ(rig.backend.inputs.size(), 2u);
  EXPECT_FALSE(*rig.backend.inputs.front().alive) << "the stalled stream is closed";
  EXPECT_TRUE(rig.dialogs.events.empty());

  // The new stream starts a fresh count and its blocks reach the handler.
  const std::size_t before = rig.blocks.size();
  EXPECT_FALSE(selection.RetryLostCapture());
  DeliverFrames(rig.backend.LastInput(), 0, BlockFrames);
  ASSERT_EQ(rig.blocks.size(), before + 1);
  ExpectBlockIsFrames(rig.blocks.back(), 0);
}

std::vector<std::int16_t> Samples(const std::vector<std::byte>& bytes) {
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

TEST(SoundDevicesMonitor, OutputIndexMovesOnlyWhileTheMonitorIsDown) {
  Rig rig;
  rig.devices.OpenWaveOut();
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  const auto input = rig.backend.LastInput();
  const auto& output = *rig.backend.outputs.back();

  DeliverFrames(input, 0, BlockFrames * 3);
  EXPECT_EQ(rig.devices.OutputIndex(), 0);
  EXPECT_TRUE(output.played.empty());

  rig.monitor = true;
  DeliverFrames(input, BlockFrames * 3, BlockFrames * 2);
  EXPECT_EQ(rig.devices.OutputIndex(), 2);
  rig.monitor = false;
  DeliverFrames(input, BlockFrames * 5, BlockFrames);
  EXPECT_EQ(rig.devices.OutputIndex(), 2);
  rig.monitor = true;
  DeliverFrames(input, BlockFrames * 6, BlockFrames);
  EXPECT_EQ(rig.devices.OutputIndex(), 3);  // carries on after the last buffer written

  // Blocks 3, 4 and 6, left channel on both sides.
  const auto played = Samples(output.played);
  ASSERT_EQ(played.size(), 3u * BlockSamples);
  const std::size_t firstFrames[] = {BlockFrames * 3, BlockFrames * 4, BlockFrames * 6};
  for (std::size_t b = 0; b < 3; ++b) {
    for (std::size_t frame = 0; frame < BlockFrames; ++frame) {
      const std::size_t at = b * BlockSamples + frame * 2;
      ASSERT_EQ(played[at], LeftPattern(firstFrames[b] + frame));
      ASSERT_EQ(played[at + 1], LeftPattern(firstFrames[b] + frame));
    }
  }
  rig.devices.CloseWaveOut();
  EXPECT_EQ(rig.devices.OutputIndex(), 0);
}

TEST(SoundDevicesMonitor, MonitorBlockReachesTheOutputBeforeTheHandlerRuns) {
  Rig rig;
  rig.devices.OpenWaveOut();
  ASSERT_TRUE(rig.devices.OpenWaveIn(std::nullopt));
  rig.monitor = true;
  std::size_t playedWhenHandled = 0;
  rig.duringBlock = [&] { playedWhenHandled = rig.backend.outputs.back()->played.size(); };
  DeliverFrames(rig.backend.LastInput(), 0, BlockFrames);
  EXPECT_EQ(playedWhenHandled, static_cast<std::size_t>(BlockBytes));
}

}  // namespace
}  // namespace seaherald
