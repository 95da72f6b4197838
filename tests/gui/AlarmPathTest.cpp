// The alarm path end to end, as a user meets it: the real program in a window under Xvfb
// receives a search-and-rescue broadcast played into a private PulseAudio server and, once it is
// filed, shows the banner on the screen, sends the desktop notification over a private session
// bus and plays its alarm tone, which the server's monitor hears. Run by run-in-private-session,
// which provides the display, the session bus and the sound server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "app/AlarmOutputs.h"
#include "app/Program.h"
#include "audio/PulseSoundBackend.h"
#include "msglog/MessageLog.h"
#include "tests/audio/LiveAudio.h"
#include "tests/faults/FaultWindow.h"
#include "tests/gui/FakeNotifications.h"
#include "tests/gui/MonitorRecording.h"

namespace seaherald::faults {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kSearchAndRescue =
    "ZCZC GD02\r\nCULLERCOATS NAVTEX\r\nMAYDAY RELAY\r\nFISHING VESSEL TAKING WATER\r\nNNNN\r\n";

// Share of the banner's pixels on the screen that carry its red.
double RedShareOnScreen(const QWidget& banner) {
  const QPoint corner = banner.mapToGlobal(QPoint(0, 0));
  const QImage shot = QGuiApplication::primaryScreen()
                          ->grabWindow(0, corner.x(), corner.y(), banner.width(), banner.height())
                          .toImage();
  int red = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      red += shot.pixelColor(x, y) == QColor(0xC0, 0x00, 0x00) ? 1 : 0;
  return shot.isNull() ? 0 : static_cast<double>(red) / (shot.width() * shot.height());
}

class AlarmPath : public FaultWindowTest {};

TEST_F(AlarmPath, SearchAndRescueBroadcastRaisesBannerNotificationAndTone) {
  const char* server = std::getenv("PULSE_SERVER");
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (server == nullptr || bus == nullptr || QGuiApplication::platformName() != "xcb") {
    const char* problem =
        "needs a display, a session bus and PULSE_SERVER (run-in-private-session)";
    if (soundtest::AudioRequired()) FAIL() << problem;
    GTEST_SKIP() << problem;
  }
  QDBusConnection notifier =
      QDBusConnection::connectToBus(QString::fromUtf8(bus), QStringLiteral("notifier"));
  test::FakeNotifications notifications;
  ASSERT_TRUE(notifications.ServeOn(notifier)) << "no notification service on the session bus";

  WriteFileBytes(paths_.settingsFile,
                 "[Form]\r\nMainTop=0\r\nMainLeft=0\r\nMainWidth=960\r\nMainHeight=680\r\n"
                 "[Wave]\r\nWaveInName=NullMonitor\r\n"
                 "[Set]\r\nAutoSet=0\r\nDecLang=1\r\nDecInv=0\r\n[Watch]\r\nNavArea=1\r\n");
  PulseSoundBackend backend;
  Program program(paths_, backend, FormServices{&dialogs_, nullptr, &clock_});
  ASSERT_TRUE(program.Started()) << "the output on the private server did not open";
  TForm1& window = program.Window();
  window.show();
  ASSERT_TRUE(soundtest::WaitFor([&] { return program.Sound().CaptureRunning(); }, 10s))
      << "no capture from the private server";
  const AlarmBanner& banner = window.Banner();
  EXPECT_TRUE(banner.isHidden());

  test::MonitorRecording recording(QString::fromUtf8(server));
  ASSERT_TRUE(recording.Started());
  const std::vector<StereoFrames> blocks = BroadcastBlocks(kSearchAndRescue);
  soundtest::Player player(Interleaved(blocks));
  // Under load the capture runs behind the wall clock; the limit only ends a capture that stopped.
  const auto playing = std::chrono::milliseconds(100 * static_cast<long>(blocks.size()));
  const auto deadline = std::chrono::steady_clock::now() + playing + 60s;
  while (banner.isHidden() && std::chrono::steady_clock::now() < deadline)
    recording.CollectFor(50ms);
  ASSERT_FALSE(banner.isHidden()) << "no alarm; received:\n" << window.Log().ReceivedText();
  const std::size_t raisedAt = recording.SampleCount();

  EXPECT_TRUE(std::filesystem::exists(LogPath("GD02.txt")));
  EXPECT_TRUE(banner.Label()->text().contains(QStringLiteral("GD02")));
  EXPECT_TRUE(banner.Label()->text().contains(QStringLiteral("Cullercoats")));
  recording.CollectFor(3s);
  EXPECT_GT(RedShareOnScreen(banner), 0.5) << "the banner is not on the screen";
  ASSERT_EQ(notifications.calls.size(), 1) << "no notification on the session bus";
  EXPECT_TRUE(notifications.calls[0].startsWith(QStringLiteral("SEAHERALD|")));
  EXPECT_TRUE(notifications.calls[0].contains(QStringLiteral("GD02  Cullercoats")));
  EXPECT_EQ(notifications.lastHints.value(QStringLiteral("urgency")).toInt(), 2);
  // From the banner on, the broadcast is over: what the output plays is the alarm.
  EXPECT_TRUE(test::HoldsAlarmTones(recording.SamplesFrom(raisedAt)));
  EXPECT_EQ(window.Alarm().Raised(), 1);
  QDBusConnection::disconnectFromBus(QStringLiteral("notifier"));
}

}  // namespace
}  // namespace seaherald::faults

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("SEAHERALD_LANG", "en");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
