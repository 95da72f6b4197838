// Both receivers of the window on one stereo capture from the test's sound server: an English
// broadcast on the left and a Japanese one on the right, sent at the same time, are each filed
// into the one log folder and shown on their own live tab.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

#include "app/TextTabs.h"
#include "app/ViewFonts.h"
#include "audio/SoundIo.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"
#include "tests/audio/LiveAudio.h"
#include "tests/faults/FaultWindow.h"
#include "tests/support/ShiftJisText.h"

namespace seaherald::faults {
namespace {

using namespace std::chrono_literals;
using testsignal::Utf8ToShiftJis;

class TwoReceiversLive : public FaultWindowTest {
 protected:
  SoundDevices::Hooks WindowHooks() {
    SoundDevices::Hooks hooks;
    hooks.processBlock = [this](StereoBlock block) {
      ++blocks_;
      Window().ProcessWaveBlock(block);
    };
    hooks.monitorDown = [] { return false; };
    return hooks;
  }
  QString TabPane(int tab) {
    QTabBar* tabs = Window().Controls().TabControl1->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    return PaneText();
  }
  int blocks_ = 0;
};

TEST_F(TwoReceiversLive, StereoBroadcastIsFiledAndShownPerChannel) {
  WriteFileBytes(paths_.settingsFile,
                 "[Set]\r\nAutoSet=0\r\nDecLang=1\r\nReceiver2=1\r\nAutoSet2=0\r\nDecLang2=0\r\n");
  Window();
  SoundIo sound(dialogs_, WindowHooks());
  SEAHERALD_REQUIRE_TEST_SERVER(sound.Backend());
  const auto monitor = soundtest::InputIdNamed(sound.Backend(), soundtest::TestMonitorName);
  ASSERT_TRUE(sound.Devices().OpenWaveIn(monitor));
  ASSERT_TRUE(soundtest::WaitFor([&] { return blocks_ > 0; }, 5s)) << "no captured block";

  const std::string japaneseBody = Utf8ToShiftJis("航行警報　右\r\n");
  const std::vector<StereoFrames> blocks = BothChannels(
      BroadcastBlocks(kMessage1), BroadcastBlocks(Utf8ToShiftJis("ＺＣＺＣ　ＧＡ１２３\r\n") +
                                                      japaneseBody + Utf8ToShiftJis("ＮＮＮＮ\r\n"),
                                                  {.english = false}));
  std::vector<std::int16_t> audio;
  for (const StereoFrames& block : blocks)
    audio.insert(audio.end(), block.begin(), block.end());
  const std::filesystem::path english = LogPath("GA01.txt");
  const std::filesystem::path japanese = paths_.logFolder / "ＧＡ１２３.txt";
  {
    soundtest::Player player(audio);
    const int start = blocks_;
    soundtest::WaitFor(
        [&] {
          return (std::filesystem::exists(english) && std::filesystem::exists(japanese)) ||
                 blocks_ - start > static_cast<int>(blocks.size()) + 30;
        },
        std::chrono::milliseconds(blocks.size() * 100) + 30s);
  }
  sound.CloseWaveIn();
  ASSERT_TRUE(std::filesystem::exists(english)) << Window().Log().ReceivedText();
  ASSERT_TRUE(std::filesystem::exists(japanese)) << Window().SecondLog().ReceivedText();
  EXPECT_EQ(FileBytes(english), LogFileBytes(clock_.now, kBody1));
  EXPECT_EQ(FileBytes(japanese), LogFileBytes(clock_.now, japaneseBody));

  const QString left = TabPane(kTabReceived);
  const QString right = TabPane(kTabReceived2);
  EXPECT_TRUE(left.contains(QStringLiteral("FIRST MESSAGE 111"))) << left.toStdString();
  EXPECT_FALSE(left.contains(QStringLiteral("航行警報"))) << left.toStdString();
  EXPECT_TRUE(right.contains(QStringLiteral("航行警報　右"))) << right.toStdString();
  EXPECT_FALSE(right.contains(QStringLiteral("FIRST"))) << right.toStdString();
  EXPECT_TRUE(dialogs_.events.empty());
}

}  // namespace
}  // namespace seaherald::faults

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("SEAHERALD_LANG", "ja");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  seaherald::InstallFontSubstitutes();
  QApplication::setFont(seaherald::ControlFont());
  return RUN_ALL_TESTS();
}
