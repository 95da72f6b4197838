// seaherald-decode --capture as a headless receiver runs it: broadcasts played into a PulseAudio
// server of this test's own are filed, the server dies and comes back and reception goes on, and
// SIGTERM stops it cleanly with the summary, the message in progress dropped and nothing filed
// lost.
#include <signal.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>

#include "tests/audio/LiveAudio.h"
#include "tests/audio/PrivateServer.h"
#include "tests/support/TestSignal.h"

namespace seaherald {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::vector<std::int16_t> EnglishAudio(const std::string& text) {
  const auto mono = testsignal::EnglishBroadcastPcm(text);
  std::vector<std::int16_t> stereo(mono.size() * 2);
  for (std::size_t i = 0; i < mono.size(); ++i)
    stereo[i * 2] = mono[i];
  return stereo;
}

std::chrono::milliseconds Duration(const std::vector<std::int16_t>& stereo) {
  return std::chrono::milliseconds(stereo.size() / 2 * 1000 / 44100);
}

// Plays a message until its log file appears: the capture may still be finding its way back to
// a server that has just returned.
bool PlayUntilFiled(const std::string& header, const fs::path& logs, int attempts) {
  const auto audio = EnglishAudio("ZCZC " + header + "\r\nTEXT OF " + header + "\r\nNNNN\r\n");
  for (int i = 0; i < attempts; ++i) {
    soundtest::Player player(audio);
    if (soundtest::WaitFor([&] { return fs::exists(logs / (header + ".txt")); },
                           Duration(audio) + 3s)) {
      return true;
    }
  }
  return false;
}

TEST(CaptureTool, FilesLiveSurvivesServerLossAndStopsCleanlyOnSigterm) {
  SEAHERALD_REQUIRE_PRIVATE_SERVER();
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << "the test's own PulseAudio server did not start";
  ::setenv("PULSE_SERVER", server.Address().c_str(), 1);  // for the player and the tool
  QTemporaryDir temporary;
  const fs::path logs = fs::path(temporary.path().toStdString()) / "log";

  QProcess tool;
  tool.start(QStringLiteral(SEAHERALD_DECODE_TOOL),
             {"--capture", "--lang", "en", "--manual", "--log", QString::fromStdString(logs),
              soundtest::TestMonitorName});
  ASSERT_TRUE(tool.waitForStarted(5000));
  soundtest::WaitFor([] { return false; }, 3s);  // the first captured data can take 2 s

  EXPECT_TRUE(PlayUntilFiled("GA12", logs, 2)) << tool.readAllStandardError().toStdString();

  server.Kill();
  soundtest::WaitFor([] { return false; }, 1s);
  ASSERT_TRUE(server.Start()) << "the server did not come back";
  EXPECT_TRUE(PlayUntilFiled("GA13", logs, 4)) << "no reception after the server came back";

  // A message still open when the stop comes is dropped.
  const auto open = EnglishAudio("ZCZC GA14\r\nOPEN LINE\r\n");
  soundtest::Player player(open);
  std::string printed;
  const bool heard = soundtest::WaitFor(
      [&] {
        printed += tool.readAllStandardOutput().toStdString();
        return printed.find("OPEN LINE") != std::string::npos;
      },
      Duration(open) + 5s);
  EXPECT_TRUE(heard) << printed;
  ::kill(static_cast<pid_t>(tool.processId()), SIGTERM);
  ASSERT_TRUE(tool.waitForFinished(10000)) << "the tool did not stop on SIGTERM";
  EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(tool.exitCode(), 0);
  const std::string summary = tool.readAllStandardError().toStdString();
  EXPECT_NE(summary.find("     2 filed as a new log file\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("     1 dropped: the input ended before the end marker\n"),
            std::string::npos)
      << summary;
  EXPECT_TRUE(fs::exists(logs / "GA12.txt"));
  EXPECT_TRUE(fs::exists(logs / "GA13.txt"));
  EXPECT_FALSE(fs::exists(logs / "GA14.txt"));
}

// Two different messages at once, one on each channel of the sound input: with both channels
// each receiver files its own; with the right channel alone only the right one's is filed.
TEST(CaptureTool, BothChannelsOfTheInputFileTheirOwnMessages) {
  SEAHERALD_REQUIRE_PRIVATE_SERVER();
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << "the test's own PulseAudio server did not start";
  ::setenv("PULSE_SERVER", server.Address().c_str(), 1);
  QTemporaryDir temporary;
  const fs::path logs = fs::path(temporary.path().toStdString()) / "log";
  const auto run = [&](const QString& channel, const std::string& leftHeader,
                       const std::string& rightHeader) {
    QProcess tool;
    tool.start(QStringLiteral(SEAHERALD_DECODE_TOOL),
               {"--capture", "--channel", channel, "--lang", "en", "--manual", "--log",
                QString::fromStdString(logs), soundtest::TestMonitorName});
    EXPECT_TRUE(tool.waitForStarted(5000));
    soundtest::WaitFor([] { return false; }, 3s);
    const auto left = EnglishAudio("ZCZC " + leftHeader + "\r\nLEFT CHANNEL TEXT\r\nNNNN\r\n");
    const auto right = EnglishAudio("ZCZC " + rightHeader + "\r\nRIGHT TEXT\r\nNNNN\r\n");
    std::vector<std::int16_t> stereo(std::max(left.size(), right.size()));
    for (std::size_t i = 0; i < stereo.size(); i += 2) {
      if (i < left.size()) stereo[i] = left[i];
      if (i < right.size()) stereo[i + 1] = right[i];
    }
    // The right receiver's message always; the left one's too when both channels are decoded.
    const auto filed = [&] {
      return fs::exists(logs / (rightHeader + ".txt")) &&
             (channel != "both" || fs::exists(logs / (leftHeader + ".txt")));
    };
    for (int attempt = 0; attempt < 2 && !filed(); ++attempt) {
      soundtest::Player player(stereo);
      soundtest::WaitFor(filed, Duration(stereo) + 3s);
    }
    soundtest::WaitFor([] { return false; }, 1s);
    ::kill(static_cast<pid_t>(tool.processId()), SIGTERM);
    EXPECT_TRUE(tool.waitForFinished(10000)) << "the tool did not stop on SIGTERM";
    EXPECT_EQ(tool.exitCode(), 0);
    return tool.readAllStandardOutput().toStdString() + tool.readAllStandardError().toStdString();
  };

  const std::string both = run("both", "GA31", "KB32");
  EXPECT_TRUE(fs::exists(logs / "GA31.txt")) << both;
  EXPECT_TRUE(fs::exists(logs / "KB32.txt")) << both;
  EXPECT_NE(both.find("left: LEFT CHANNEL TEXT\n"), std::string::npos) << both;
  EXPECT_NE(both.find("right: RIGHT TEXT\n"), std::string::npos) << both;
  EXPECT_NE(both.find("messages of channel right in"), std::string::npos) << both;

  const std::string right = run("right", "GA33", "KB34");
  EXPECT_TRUE(fs::exists(logs / "KB34.txt")) << right;
  EXPECT_FALSE(fs::exists(logs / "GA33.txt")) << right;
  EXPECT_NE(right.find("\nRIGHT TEXT\n"), std::string::npos) << right;
  EXPECT_EQ(right.find("LEFT CHANNEL TEXT"), std::string::npos) << right;
}

// An outage longer than the retry interval, a reader of the output that goes away, then SIGTERM
// while the server is stalled: reception comes back after the outage, filing goes on without the
// reader, and the stop still ends the tool at once with its summary.
TEST(CaptureTool, ALongOutageALostReaderAndAStalledServerEndNothing) {
  SEAHERALD_REQUIRE_PRIVATE_SERVER();
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << "the test's own PulseAudio server did not start";
  ::setenv("PULSE_SERVER", server.Address().c_str(), 1);
  QTemporaryDir temporary;
  const fs::path logs = fs::path(temporary.path().toStdString()) / "log";

  QProcess tool;
  QProcess reader;  // reads one line, then goes away
  tool.setStandardOutputProcess(&reader);
  tool.start(QStringLiteral(SEAHERALD_DECODE_TOOL),
             {"--capture", "--lang", "en", "--manual", "--log", QString::fromStdString(logs),
              soundtest::TestMonitorName});
  reader.start(QStringLiteral("head"), {QStringLiteral("-1")});
  ASSERT_TRUE(tool.waitForStarted(5000));
  ASSERT_TRUE(reader.waitForStarted(5000));
  soundtest::WaitFor([] { return false; }, 3s);

  server.Kill();
  soundtest::WaitFor([] { return false; }, 6s);
  ASSERT_TRUE(server.Start()) << "the server did not come back";
  EXPECT_TRUE(PlayUntilFiled("GA21", logs, 6)) << "no reception after a 6 s outage";
  ASSERT_TRUE(soundtest::WaitFor([&] { return reader.state() == QProcess::NotRunning; }, 5s))
      << "the reader did not end after its line";
  EXPECT_TRUE(PlayUntilFiled("GA22", logs, 3)) << "no filing after the reader went away";

  server.Stall();
  soundtest::WaitFor([] { return false; }, 1s);
  ::kill(static_cast<pid_t>(tool.processId()), SIGTERM);
  ASSERT_TRUE(tool.waitForFinished(10000)) << "the tool did not stop on SIGTERM";
  server.Resume();
  EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(tool.exitCode(), 0);
  const std::string told = tool.readAllStandardError().toStdString();
  EXPECT_NE(told.find("     2 filed as a new log file\n"), std::string::npos) << told;
  const std::string closed = "standard output was closed";
  EXPECT_NE(told.find(closed), std::string::npos) << told;
  EXPECT_EQ(told.find(closed), told.rfind(closed)) << told;
}

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
