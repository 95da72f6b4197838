// A sound server that dies during capture, with a server of this test's own. Runs as a process of
// its own: the toolkit connects to one server per process.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "audio/SoundIo.h"
#include "tests/audio/AudioFakes.h"
#include "tests/audio/LiveAudio.h"
#include "tests/audio/PrivateServer.h"

namespace seaherald {
namespace {

using namespace std::chrono_literals;

TEST(LiveServerLoss, CaptureStopsWithoutCrashOrHangAndADeviceCanBePickedAgain) {
  SEAHERALD_REQUIRE_PRIVATE_SERVER();
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << "the test's own PulseAudio server did not start";
  ::setenv("PULSE_SERVER", server.Address().c_str(), 1);

  soundtest::RecordingDialogs dialogs;
  int blocks = 0;
  SoundDevices::Hooks hooks;
  hooks.processBlock = [&blocks](StereoBlock) { ++blocks; };
  hooks.monitorDown = [] { return true; };
  SoundIo sound(dialogs, hooks);
  sound.OpenWaveOut();
  ASSERT_TRUE(sound.Devices().OutputOpen());
  ASSERT_TRUE(sound.Devices().OpenWaveIn(std::nullopt));
  ASSERT_TRUE(soundtest::WaitFor([&] { return blocks > 0; }, 5s)) << "no captured block within 5 s";

  server.Kill();
  EXPECT_TRUE(soundtest::WaitFor([&] { return !sound.Devices().CaptureRunning(); }, 5s))
      << "the capture did not notice that the server went away";
  EXPECT_TRUE(soundtest::WaitFor([&] { return sound.Devices().OutputFailed(); }, 5s))
      << "the monitor output did not notice that the server went away";
  const int blocksAfterLoss = blocks;
  soundtest::WaitFor([] { return false; }, 500ms);  // the event loop keeps running
  EXPECT_EQ(blocks, blocksAfterLoss);
  EXPECT_TRUE(dialogs.events.empty()) << "losing the server is not reported";

  // With no server, picking the default input again reports that it cannot be opened.
  EXPECT_FALSE(sound.Devices().OpenWaveIn(std::nullopt));
  EXPECT_EQ(dialogs.events.size(), 2u);

  // The server comes back: the user picks the device again and blocks flow once more.
  ASSERT_TRUE(server.Start());
  const bool reopened = soundtest::WaitFor(
      [&] { return sound.Devices().OpenWaveIn(std::nullopt) || (dialogs.events.clear(), false); },
      15s);
  ASSERT_TRUE(reopened) << "no capture after the server came back";
  EXPECT_TRUE(sound.Devices().OutputOpen());
  EXPECT_FALSE(sound.Devices().OutputFailed()) << "the monitor output did not come back";
  const int blocksBefore = blocks;
  EXPECT_TRUE(soundtest::WaitFor([&] { return blocks > blocksBefore; }, 5s));
  sound.CloseWaveIn();
  sound.CloseWaveOut();
}

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
