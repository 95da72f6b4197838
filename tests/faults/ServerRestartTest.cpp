// The sound server dies during capture and comes back, with the real window receiving from it:
// what was filed stays, the window keeps running, and the input device dialog's retries open the
// capture again by themselves, so the next broadcast is decoded and filed with no user action. The
// sound layer's own handling of the loss (capture and monitor output noticing it, the device opened
// again) is tested in the sound tests; this adds the window and the message log on top. Runs as a
// process of its own: the toolkit connects to one server per process.
#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
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
  SEAHERALD_REQUIRE_PRIVATE_SERVER();
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

// Time this thread has spent ready to run but waiting for a processor: on a loaded machine the
// scheduler alone can hold the event loop up for longer than the limit, which is no block.
std::chrono::nanoseconds RunQueueWait() {
  std::ifstream stat("/proc/thread-self/schedstat");
  long long onCpu = 0;
  long long waiting = 0;
  if (!(stat >> onCpu >> waiting)) return {};
  return std::chrono::nanoseconds(waiting);
}

// The longest the window's event loop went without answering since Reset, leaving out the time it
// waited for a processor. Waits of the test's own (starting a server) are left out by restarting
// after them.
class LoopWatch {
 public:
  LoopWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const auto now = std::chrono::steady_clock::now();
      const std::chrono::nanoseconds waited = RunQueueWait();
      longest_ = std::max(longest_, now - last_ - (waited - waitedBefore_));
      last_ = now;
      waitedBefore_ = waited;
    });
    timer_.start(10);
  }
  void Restart() {
    last_ = std::chrono::steady_clock::now();
    waitedBefore_ = RunQueueWait();
  }
  // Forgets what was measured so far.
  void Reset() {
    Restart();
    longest_ = {};
  }
  std::chrono::milliseconds Longest() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(longest_);
  }

 private:
  QTimer timer_;
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
  std::chrono::nanoseconds waitedBefore_ = RunQueueWait();
  std::chrono::steady_clock::duration longest_{};
};

constexpr auto kAnswerWithin = 100ms;

// Outages as a receiver left alone meets them: the window stays responsive throughout and files
// the next broadcast on the stored input, without a word to the user.
class SoundServerOutages : public SoundServerRestarts {
 protected:
  void SetUp() override {
    SEAHERALD_REQUIRE_PRIVATE_SERVER();
    ::setenv("PULSE_SERVER", server_.Address().c_str(), 1);
  }
  void TearDown() override {
    if (sound_) {
      sound_->CloseWaveIn();
      sound_->CloseWaveOut();
    }
  }

  // The window's sound as the program builds it, on the stored input "NullMonitor".
  void StartWindowSound() {
    Window().SettingsRecord().WaveInName = soundtest::TestMonitorName;
    sound_ = std::make_unique<SoundIo>(dialogs_, WindowHooks());
    sound_->OpenWaveOut();
    notice_ = std::make_unique<TForm9>(&Window());
    dialog_ = std::make_unique<TForm8>(sound_->Backend(), sound_->Devices(),
                                       Window().SettingsRecord().WaveInName, dialogs_, *notice_,
                                       &Window());
    // Measured from the first block on: the window's first block and paint come before.
    ASSERT_TRUE(Hearing()) << "no captured block";
    watch_.Reset();
  }
  bool OnStoredInput() const {
    return sound_->Devices().CaptureRunning() && dialog_->DeviceIndex() > 0;
  }
  // Waits for a captured block, with the event loop answering.
  bool Hearing() {
    const int before = blocks_;
    return soundtest::WaitFor([&] { return blocks_ > before; }, 10s);
  }
  bool CapturesAgain() {
    return soundtest::WaitFor([&] { return OnStoredInput() && Hearing(); },
                              std::chrono::milliseconds(TForm8::RetryMilliseconds) * 4 + 10s);
  }
  void Idle(std::chrono::milliseconds time) {
    soundtest::WaitFor([] { return false; }, time);
  }
  void ExpectFilesTheNextBroadcast() {
    const std::vector<StereoFrames> blocks = BroadcastBlocks(kMessage3);
    soundtest::Player player(Interleaved(blocks));
    watch_.Restart();
    ASSERT_TRUE(WaitWhileReceiving([&] { return std::filesystem::exists(LogPath("GA03.txt")); },
                                   blocks.size()))
        << Window().Log().ReceivedText() << "\n"
        << server_.State();
    EXPECT_EQ(FileBytes(LogPath("GA03.txt")), LogFileBytes(clock_.now, kBody3));
    EXPECT_EQ(Window().SettingsRecord().WaveInName, soundtest::TestMonitorName);
    EXPECT_TRUE(dialogs_.events.empty());
    EXPECT_LT(watch_.Longest(), kAnswerWithin) << "the window's event loop stopped answering";
  }

  soundtest::PrivateServer server_;
  LoopWatch watch_;
  std::unique_ptr<SoundIo> sound_;
  std::unique_ptr<TForm9> notice_;
  std::unique_ptr<TForm8> dialog_;
};

class SoundServerOutageOf : public SoundServerOutages, public ::testing::WithParamInterface<int> {};

TEST_P(SoundServerOutageOf, SecondsCaptureComesBackOnTheStoredInput) {
  ASSERT_TRUE(server_.Start());
  ASSERT_NO_FATAL_FAILURE(StartWindowSound());
  ASSERT_TRUE(OnStoredInput());
  server_.Kill();
  watch_.Restart();
  Idle(std::chrono::seconds(GetParam()));
  ASSERT_TRUE(server_.Start());
  watch_.Restart();
  ASSERT_TRUE(CapturesAgain()) << "no capture after the server came back\n" << server_.State();
  ExpectFilesTheNextBroadcast();
}

INSTANTIATE_TEST_SUITE_P(Outages, SoundServerOutageOf, ::testing::Values(1, 5, 20));

// The server comes back 1 s after the loss, the chosen input 8 s after the server (the usual order
// with PipeWire and a USB card): the retries meanwhile block nothing, and the chosen input is taken
// back as soon as it is listed.
TEST_F(SoundServerOutages, TheInputComingBackAfterTheServerIsTakenBack) {
  ASSERT_TRUE(server_.Start());
  ASSERT_NO_FATAL_FAILURE(StartWindowSound());
  ASSERT_TRUE(OnStoredInput());
  server_.Kill();
  watch_.Restart();
  Idle(1s);
  ASSERT_TRUE(server_.Start(false));
  watch_.Restart();
  Idle(8s);
  EXPECT_FALSE(OnStoredInput());
  ASSERT_TRUE(server_.AddInput());
  watch_.Restart();
  ASSERT_TRUE(CapturesAgain()) << "the stored input was not taken back";
  ExpectFilesTheNextBroadcast();
}

// A server stopped for 15 s holds nothing of the window's up, and capture resumes after it.
TEST_F(SoundServerOutages, AStalledServerNeverBlocksTheWindow) {
  ASSERT_TRUE(server_.Start());
  ASSERT_NO_FATAL_FAILURE(StartWindowSound());
  server_.Stall();
  watch_.Restart();
  Idle(15s);
  EXPECT_LT(watch_.Longest(), kAnswerWithin) << "blocked while the server was stalled";
  server_.Resume();
  ASSERT_TRUE(CapturesAgain()) << "no capture after the stall\n" << server_.State();
  ExpectFilesTheNextBroadcast();
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
