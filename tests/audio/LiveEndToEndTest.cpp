// A NAVTEX broadcast played into the test server's sink is captured from its monitor, decoded and
// filed as a log file, all through the program's own sound, decoding and message-log code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/BlockHandler.h"
#include "audio/SoundIo.h"
#include "msglog/LogFolder.h"
#include "msglog/MessageLog.h"
#include "tests/audio/AudioFakes.h"
#include "tests/audio/LiveAudio.h"
#include "tests/support/TestSignal.h"

namespace seaherald {
namespace {

using namespace std::chrono_literals;

class FixedClock final : public LocalClock {
 public:
  LocalDateTime Now() const override { return {2026, 5, 1, 9, 30, 0}; }
};

struct NoStatus final : StatusView {
  void SetStatusText(int, const std::string&) override {}
};

struct QuietListener final : BlockHandlerListener {
  void OnBlockDecoded() override {}
  void ShowClock(const std::string&) override {}
  void DiscardMessage() override {}
  void AutoDeleteLogs() override {}
  void SetLamp(bool) override {}
  void OnBlockDone() override {}
};

// The receiving side of the program, headless: settings, message log, block handler and sound.
struct Receiver {
  explicit Receiver(const std::filesystem::path& logFolder) : folder(logFolder) {
    settings.DecLang = true;  // English service, set by hand
    settings.AutoSet = false;
    settings.DecInv = false;
  }
  Settings settings;
  double centerFrequency = 800;
  FixedClock clock;
  LogFolder folder;
  NoStatus status;
  soundtest::RecordingDialogs dialogs;
  QuietListener listener;
  MessageLog log{settings, clock, folder, status, dialogs};
  BlockHandler handler{
      DecoderSettings{settings.DecLang, settings.DecInv, settings.AutoSet, centerFrequency}, log,
      settings, clock, listener};
  int blocks = 0;
  SoundIo sound{dialogs, MakeHooks()};

  SoundDevices::Hooks MakeHooks() {
    SoundDevices::Hooks hooks;
    hooks.processBlock = [this](StereoBlock block) {
      ++blocks;
      handler.ProcessBlock(block);
    };
    hooks.monitorDown = [] { return false; };
    return hooks;
  }
};

// The broadcast on the left channel; a steady tone on the right, which the receiver must ignore.
std::vector<std::int16_t> BroadcastAudio(const std::string& text) {
  const auto mono = testsignal::EnglishBroadcastPcm(text);
  auto stereo = soundtest::LeftTone(static_cast<double>(mono.size()) / 44100, 1200, 6000);
  for (std::size_t i = 0; i < mono.size() && i * 2 < stereo.size(); ++i) {
    stereo[i * 2 + 1] = stereo[i * 2];
    stereo[i * 2] = mono[i];
  }
  return stereo;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(LiveEndToEnd, BroadcastPlayedIntoTheSinkIsDecodedAndFiledFromTheCapture) {
  QTemporaryDir temporary;
  ASSERT_TRUE(temporary.isValid());
  const std::filesystem::path logFolder =
      std::filesystem::path(temporary.path().toStdString()) / "log";
  Receiver receiver(logFolder);
  SEAHERALD_REQUIRE_TEST_SERVER(receiver.sound.Backend());

  const auto monitorId =
      soundtest::InputIdNamed(receiver.sound.Backend(), soundtest::TestMonitorName);
  ASSERT_TRUE(receiver.sound.Devices().OpenWaveIn(monitorId));
  ASSERT_TRUE(soundtest::WaitFor([&] { return receiver.blocks > 0; }, 5s))
      << "no captured block within 5 s";

  const auto audio =
      BroadcastAudio("ZCZC GA12\r\nQUICK BROWN FOX 1234\r\nJUMPS OVER THE LAZY DOG.\r\nNNNN\r\n");
  const auto playSeconds = std::chrono::milliseconds(audio.size() / 2 * 1000 / 44100);
  soundtest::Player player(audio);
  const auto logFile = logFolder / "GA12.txt";
  const bool filed =
      soundtest::WaitFor([&] { return std::filesystem::exists(logFile); }, playSeconds + 5s);
  receiver.sound.CloseWaveIn();
  ASSERT_TRUE(filed) << "no log file after " << receiver.blocks << " blocks; received text:\n"
                     << receiver.log.ReceivedText();
  EXPECT_EQ(FileBytes(logFile),
            "Last received 2026/05/01 09:30:00\r\n"
            "Detected 000 error\r\n"
            "-\r\n"
            "QUICK BROWN FOX 1234\r\n"
            "JUMPS OVER THE LAZY DOG.\r\n");
  EXPECT_TRUE(receiver.dialogs.events.empty());
}

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
