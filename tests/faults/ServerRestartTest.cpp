// The sound server dies during capture and comes back, with the real window receiving from it:
// what was filed stays, the window keeps running, and the input device dialog's retries open the
// capture again by themselves, so the next broadcast is decoded and filed with no user action. The
// sound layer's own handling of the loss (capture and monitor output noticing it, the device opened
// again) is tested in the sound tests; this adds the window and the message log on top. Runs as a
// process of its own: the toolkit connects to one server per process.
#include <QApplication>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

#include "audio/SoundIo.h"
#include "audio/Unit8.h"
#include "audio/Unit9.h"
#include "msglog/MessageLog.h"
#include "tests/audio/LiveAudio.h"
#include "tests/audio/PrivateServer.h"
#include "tests/faults/FaultWindow.h"

namespace seaherald::faults {
namespace {

using namespace std::chrono_literals;

std::vector<std::int16_t> Interleaved(const std::vector<StereoFrames>& blocks) {
  std::vector<std::int16_t> samples;
  samples.reserve(blocks.size() * StereoFrames().size());
  for (const StereoFrames& block : blocks)
    samples.insert(samples.end(), block.begin(), block.end());
  return samples;
}

std::chrono::milliseconds PlayingTime(std::size_t blocks) {
  return std::chrono::milliseconds(blocks * 100);
}

class SoundServerRestarts : public FaultWindowTest {
 protected:
  // The window's sound, wired as the program wires it.
  SoundDevices::Hooks WindowHooks() {
    SoundDevices::Hooks hooks;
    hooks.processBlock = [this](StereoBlock block) {
      ++blocks_;
      Window().ProcessWaveBlock(block);
    };
    hooks.monitorDown = [this] { return Window().MonitorOn(); };
    return hooks;
  }

  // Waits until `done`, or until the window has been handed the broadcast's blocks and a margin
  // more: under load the capture runs behind the wall clock, so time alone is no measure of
  // what was received. The wall-clock limit only ends a capture that has stopped.
  bool WaitWhileReceiving(const std::function<bool()>& done, std::size_t broadcastBlocks) {
    const int start = blocks_;
    const auto heard = [&] {
      return blocks_ - start >= static_cast<int>(broadcastBlocks) + kMarginBlocks;
    };
    return soundtest::WaitFor([&] { return done() || heard(); },
                              PlayingTime(broadcastBlocks) + 30s) &&
           done();
  }

  // Plays a broadcast into the server and waits until its log file appears.
  bool PlayUntilFiled(std::string_view text, std::string_view fileName) {
    const std::vector<StereoFrames> blocks = BroadcastBlocks(text);
    soundtest::Player player(Interleaved(blocks));
    return WaitWhileReceiving([&] { return std::filesystem::exists(LogPath(fileName)); },
                              blocks.size());
  }

  std::string Received(std::size_t broadcastBlocks, int blocksBefore, SoundDevices& sound) {
    return "blocks handed over " + std::to_string(blocks_ - blocksBefore) + " of " +
           std::to_string(broadcastBlocks) + ", dropped " + std::to_string(sound.DroppedBlocks()) +
           ", received:\n" + Window().Log().ReceivedText();
  }

  static constexpr int kMarginBlocks = 30;
  int blocks_ = 0;
};

TEST_F(SoundServerRestarts, WindowKeepsItsLogsAndFilesAgainWithNoUserAction) {
  if (const auto problem = soundtest::PrivateServer::Problem()) {
    if (soundtest::AudioRequired()) FAIL() << *problem;
    GTEST_SKIP() << *problem << " (set SEAHERALD_REQUIRE_AUDIO=1 to fail instead)";
  }
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << "the test's own PulseAudio server did not start";
  ::setenv("PULSE_SERVER", server.Address().c_str(), 1);

  Window();
  SoundIo sound(dialogs_, WindowHooks());
  sound.OpenWaveOut();
  // As the program starts the capture: the device dialog opens the stored device.
  TForm9 notice(&Window());
  const TForm8 deviceDialog(sound.Backend(), sound.Devices(), Window().SettingsRecord().WaveInName,
                            dialogs_, notice, &Window());
  ASSERT_TRUE(sound.Devices().CaptureRunning());
  ASSERT_TRUE(soundtest::WaitFor([&] { return blocks_ > 0; }, 5s)) << "no captured block";

  ASSERT_TRUE(PlayUntilFiled(kMessage1, "GA01.txt")) << "received before the loss:\n"
                                                     << Window().Log().ReceivedText() << "\n"
                                                     << server.State();
  const std::string stored = FileBytes(LogPath("GA01.txt"));
  EXPECT_EQ(stored, LogFileBytes(clock_.now, kBody1));

  // The server dies in the middle of the next broadcast. Under heavy load the private server has
  // been seen to end by itself around here (about once in seventy runs); that is the same loss
  // for the window, so the test goes on to bring it back.
  {
    const std::vector<StereoFrames> blocks = BroadcastBlocks(kMessage2);
    soundtest::Player player(Interleaved(blocks));
    const int before = blocks_;
    const bool inProgress = WaitWhileReceiving(
        [&] { return Window().Log().CurrentHeader() == "GA02" || !server.Running(); },
        blocks.size());
    ASSERT_TRUE(inProgress) << Received(blocks.size(), before, sound.Devices()) << "\n"
                            << server.State();
    if (!server.Running()) std::cerr << "note: " << server.State() << "\n";
    server.Kill();
  }
  ASSERT_TRUE(soundtest::WaitFor([&] { return !sound.Devices().CaptureRunning(); }, 5s));
  soundtest::WaitFor([] { return false; }, 500ms);  // the window's event loop runs on
  EXPECT_TRUE(Window().isVisible());
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), stored);

  // The server is back: the capture resumes on its own, without a word to the user.
  ASSERT_TRUE(server.Start());
  ASSERT_TRUE(soundtest::WaitFor([&] { return sound.Devices().CaptureRunning(); },
                                 std::chrono::milliseconds(TForm8::RetryMilliseconds) * 3 + 5s))
      << "no capture after the server came back";

  ASSERT_TRUE(PlayUntilFiled(kMessage3, "GA03.txt")) << "received after the restart:\n"
                                                     << Window().Log().ReceivedText();
  EXPECT_EQ(FileBytes(LogPath("GA03.txt")), LogFileBytes(clock_.now, kBody3));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), stored);
  EXPECT_FALSE(std::filesystem::exists(LogPath("GA02.txt"))) << "its end never arrived";
  EXPECT_TRUE(dialogs_.events.empty());
  sound.CloseWaveIn();
  sound.CloseWaveOut();
}

}  // namespace
}  // namespace seaherald::faults

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The tests check the Japanese texts, whatever the machine's locale; a test of the English
  // window sets the variable for itself.
  qputenv("SEAHERALD_LANG", "ja");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
