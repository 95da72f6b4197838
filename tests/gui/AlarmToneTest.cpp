// The alarm tone goes out through the output device: a search-and-rescue message makes the
// receiver play its two-tone alarm into the sink of a PulseAudio server of the test's own, and
// the sink's monitor hears both tones.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <cstdint>
#include <vector>

#include "app/AlarmOutputs.h"
#include "app/Translation.h"
#include "tests/audio/LiveAudio.h"
#include "tests/audio/PrivateServer.h"
#include "tests/gui/MonitorRecording.h"

namespace seaherald {
namespace {

TEST(AlarmTone, SearchAndRescuePlaysBothTonesThroughTheOutput) {
  SEAHERALD_REQUIRE_PRIVATE_SERVER();
  soundtest::PrivateServer server;
  ASSERT_TRUE(server.Start()) << server.State();
  const QString address = QString::fromStdString(server.Address());
  qputenv("PULSE_SERVER", address.toUtf8());

  test::MonitorRecording recording(address);
  ASSERT_TRUE(recording.Started());

  const Translation text(UiLanguage::English);
  AlarmBanner banner(text, nullptr);
  AlarmOutputs alarm(text, banner);
  CompletedMessage message{"GD01", 0, "MAYDAY RELAY\r\n", 0, {}, FilingOutcome::kWritten};
  message.alarm = true;
  alarm.MessageCompleted(message);
  EXPECT_EQ(alarm.Raised(), 1);

  recording.CollectFor(std::chrono::seconds(4));
  const std::vector<std::int16_t> samples = recording.SamplesFrom(0);
  ASSERT_GT(samples.size(), static_cast<std::size_t>(test::MonitorRecording::kRate))
      << server.State();
  EXPECT_TRUE(test::HoldsAlarmTones(samples));
}

}  // namespace
}  // namespace seaherald

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
