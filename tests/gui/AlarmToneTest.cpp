// The alarm tone goes out through the output device: a search-and-rescue message makes the
// receiver play its two-tone alarm into the sink of a PulseAudio server of the test's own, and
// the sink's monitor hears both tones.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "app/AlarmOutputs.h"
#include "app/Translation.h"
#include "tests/audio/LiveAudio.h"
#include "tests/audio/PrivateServer.h"

namespace seaherald {
namespace {

constexpr int kRate = 44100;

// Power of one frequency in the samples (Goertzel), normalised by the samples' total power.
double ShareAt(const std::vector<std::int16_t>& samples, double hz) {
  const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
  double s1 = 0, s2 = 0, total = 0;
  for (const std::int16_t sample : samples) {
    const double s0 = sample + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
    total += static_cast<double>(sample) * sample;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return total > 0 ? 2 * power / (total * static_cast<double>(samples.size())) : 0;
}

TEST(AlarmTone, SearchAndRescuePlaysBothTonesThroughTheOutput) {
  if (const auto problem = soundtest::PrivateServer::Problem()) {
    if (soundtest::AudioRequired()) FAIL() << *problem;
    GTEST_SKIP() << *problem;
  }
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << server.State();
  const QString address = QString::fromStdString(server.Address());
  qputenv("PULSE_SERVER", address.toUtf8());

  QProcess recorder;
  recorder.start(
      QStringLiteral("parec"),
      {QStringLiteral("--server=") + address, QStringLiteral("--device=nullsink.monitor"),
       QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
       QStringLiteral("--channels=1")});
  ASSERT_TRUE(recorder.waitForStarted(5000));

  const Translation text(UiLanguage::English);
  AlarmBanner banner(text, nullptr);
  AlarmOutputs alarm(text, banner);
  CompletedMessage message{"GD01", 0, "MAYDAY RELAY\r\n", 0, {}, FilingOutcome::kWritten};
  message.alarm = true;
  alarm.MessageCompleted(message);
  EXPECT_EQ(alarm.Raised(), 1);

  QByteArray pcm;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 4000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    recorder.waitForReadyRead(20);
    pcm += recorder.readAllStandardOutput();
  }
  recorder.kill();
  recorder.waitForFinished();
  std::vector<std::int16_t> samples(static_cast<std::size_t>(pcm.size()) / 2);
  std::memcpy(samples.data(), pcm.data(), samples.size() * 2);
  ASSERT_GT(samples.size(), static_cast<std::size_t>(kRate)) << server.State();
  // The two alarm tones carry the sound; a frequency between them carries next to nothing.
  const double low = ShareAt(samples, 1300);
  const double high = ShareAt(samples, 2100);
  const double between = ShareAt(samples, 1700);
  EXPECT_GT(low, 0.1) << "1300 Hz";
  EXPECT_GT(high, 0.1) << "2100 Hz";
  EXPECT_LT(between, 0.01) << "1700 Hz";
}

}  // namespace
}  // namespace seaherald

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
