// Capture, monitor output and the device dialog against the private PulseAudio test server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <algorithm>
#include <functional>
#include <vector>

#include "audio/SoundIo.h"
#include "audio/Unit8.h"
#include "audio/Unit9.h"
#include "platform/CodePage.h"
#include "tests/audio/AudioFakes.h"
#include "tests/audio/LiveAudio.h"

namespace seaherald {
namespace {

using namespace std::chrono_literals;
using soundtest::ChannelRms;
using soundtest::LeftTone;
using soundtest::Player;
using soundtest::RecordingDialogs;
using soundtest::WaitFor;

// A SoundIo whose blocks are kept, with a monitor switch the test flips.
struct LiveRig {
  RecordingDialogs dialogs;
  bool monitor = false;
  int windowCloses = 0;
  std::vector<std::vector<std::int16_t>> blocks;
  std::function<void()> duringBlock;  // runs inside the handler, after the block is kept
  SoundIo sound{dialogs, MakeHooks()};

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
  // Right-channel level of the blocks from `first` on.
  double RightRmsFrom(std::size_t first) const {
    std::vector<std::int16_t> all;
    for (std::size_t b = first; b < blocks.size(); ++b)
      all.insert(all.end(), blocks[b].begin(), blocks[b].end());
    return ChannelRms(all, 1);
  }
  double LeftRmsFrom(std::size_t first) const {
    std::vector<std::int16_t> all;
    for (std::size_t b = first; b < blocks.size(); ++b)
      all.insert(all.end(), blocks[b].begin(), blocks[b].end());
    return ChannelRms(all, 0);
  }
};

TEST(LiveCapture, BlocksOfTheSinkMonitorArriveInTimeAndCarryThePlayedSignal) {
  LiveRig rig;
  SEAHERALD_REQUIRE_TEST_SERVER(rig.sound.Backend());
  const auto monitorId = soundtest::InputIdNamed(rig.sound.Backend(), soundtest::TestMonitorName);
  ASSERT_TRUE(rig.sound.Devices().OpenWaveIn(monitorId));
  ASSERT_TRUE(WaitFor([&] { return !rig.blocks.empty(); }, 5s)) << "no captured block within 5 s";

  const std::size_t before = rig.blocks.size();
  Player player(LeftTone(1.5, 1000, 8000));
  ASSERT_TRUE(WaitFor([&] { return !player.Running(); }, 6s));
  WaitFor([] { return false; }, 500ms);
  const std::size_t after = rig.blocks.size();
  EXPECT_GE(after - before, 15u) << "fewer blocks than 1.5 s of audio";
  EXPECT_EQ(rig.sound.Devices().CaptureIndex(), static_cast<int>(after % BufferCount));
  EXPECT_GT(rig.LeftRmsFrom(before), 2000.0) << "the tone played on the left did not come back";
  EXPECT_LT(rig.RightRmsFrom(before), 10.0) << "the right channel should stay silent";
  EXPECT_TRUE(rig.dialogs.events.empty());
}

TEST(LiveCapture, CaptureReopenedFromInsideTheBlockHandlerKeepsDelivering) {
  LiveRig rig;
  SEAHERALD_REQUIRE_TEST_SERVER(rig.sound.Backend());
  const auto monitorId = soundtest::InputIdNamed(rig.sound.Backend(), soundtest::TestMonitorName);
  SoundDevices& devices = rig.sound.Devices();
  int reopenings = 0;
  rig.duringBlock = [&] {
    if (reopenings > 0) return;
    ++reopenings;
    // The toolkit's stream goes while its own notification is still running.
    devices.CloseWaveIn();
    devices.OpenWaveIn(monitorId);
  };
  ASSERT_TRUE(devices.OpenWaveIn(monitorId));
  EXPECT_TRUE(WaitFor([&] { return reopenings == 1 && rig.blocks.size() > 5; }, 8s))
      << "no blocks after the capture was reopened from inside the handler";
  EXPECT_TRUE(devices.CaptureRunning());
  devices.CloseWaveIn();
}

TEST(LiveMonitor, LeftInputIsPlayedOnBothChannelsOfTheSinkOnlyWhileTheMonitorIsDown) {
  LiveRig rig;
  SEAHERALD_REQUIRE_TEST_SERVER(rig.sound.Backend());
  rig.sound.OpenWaveOut();
  ASSERT_TRUE(rig.sound.Devices().OutputOpen());
  const auto monitorId = soundtest::InputIdNamed(rig.sound.Backend(), soundtest::TestMonitorName);
  ASSERT_TRUE(rig.sound.Devices().OpenWaveIn(monitorId));
  ASSERT_TRUE(WaitFor([&] { return !rig.blocks.empty(); }, 5s));

  // The sink's right channel can only carry what the monitor plays: the player's right is silent.
  // The capture hears the sink, so the monitor also feeds back into itself; the level stays low.
  {
    const std::size_t first = rig.blocks.size();
    Player player(LeftTone(1.5, 700, 2000));
    ASSERT_TRUE(WaitFor([&] { return !player.Running(); }, 6s));
    EXPECT_GT(rig.LeftRmsFrom(first), 500.0);
    EXPECT_LT(rig.RightRmsFrom(first), 10.0) << "monitor off, yet the right channel was heard";
    EXPECT_EQ(rig.sound.Devices().OutputIndex(), 0);
  }
  rig.monitor = true;
  {
    const std::size_t first = rig.blocks.size();
    Player player(LeftTone(1.5, 700, 2000));
    ASSERT_TRUE(WaitFor([&] { return !player.Running(); }, 6s));
    WaitFor([] { return false; }, 300ms);
    EXPECT_GT(rig.RightRmsFrom(first), 300.0) << "the monitor output was not heard on the sink";
    EXPECT_NE(rig.sound.Devices().OutputIndex(), 0);
  }
  rig.monitor = false;
  rig.sound.CloseWaveIn();
  rig.sound.CloseWaveOut();
  EXPECT_TRUE(rig.dialogs.events.empty());
  EXPECT_EQ(rig.windowCloses, 0);
}

TEST(LiveDeviceDialog, StoredNameOpensThatServerDeviceAndAMissingOneFallsBackToTheDefault) {
  LiveRig rig;
  SEAHERALD_REQUIRE_TEST_SERVER(rig.sound.Backend());
  TForm9 notice(nullptr, 0ms);
  {
    std::string waveInName = soundtest::TestMonitorName;
    TForm8 dialog(rig.sound.Backend(), rig.sound.Devices(), waveInName, rig.dialogs, notice);
    EXPECT_GT(dialog.DeviceIndex(), 0);
    EXPECT_EQ(dialog.ComboBox1->currentText().toStdString(), soundtest::TestMonitorName);
    EXPECT_TRUE(rig.sound.Devices().CaptureRunning());
    EXPECT_TRUE(rig.dialogs.events.empty());
    EXPECT_TRUE(WaitFor([&] { return !rig.blocks.empty(); }, 5s));
  }
  {
    std::string waveInName = "Unplugged Headset";
    TForm8 dialog(rig.sound.Backend(), rig.sound.Devices(), waveInName, rig.dialogs, notice);
    EXPECT_EQ(dialog.DeviceIndex(), 0);
    EXPECT_EQ(waveInName, "Unplugged Headset") << "the choice is kept for when it comes back";
    EXPECT_EQ(
        rig.dialogs.events,
        (std::vector<std::string>{
            "beep", "info:" + Cp932Text("標準の入力デバイスでサウンドデバイスをオープンします")}));
    EXPECT_TRUE(rig.sound.Devices().CaptureRunning());
  }
  rig.sound.CloseWaveIn();
}

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  // Headless unless told otherwise; test discovery runs without the test's environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
