// Both receivers of the window on one stereo capture from the test's sound server: an English
// broadcast on the left and a Japanese one on the right, sent at the same time, are each filed
// into the one log folder and shown on their own live tab.
#include <QTabBar>
#include <QTest>

#include "app/TextTabs.h"
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

using TwoReceiversLive = FaultWindowTest;

TEST_F(TwoReceiversLive, StereoBroadcastIsFiledAndShownPerChannel) {
  WriteFileBytes(paths_.settingsFile,
                 "[Set]\r\nAutoSet=0\r\nDecLang=1\r\nReceiver2=1\r\nAutoSet2=0\r\nDecLang2=0\r\n");
  int captured = 0;
  SoundDevices::Hooks hooks;
  hooks.processBlock = [&](StereoBlock block) {
    ++captured;
    Window().ProcessWaveBlock(block);
  };
  hooks.monitorDown = [] { return false; };
  Window();
  SoundIo sound(dialogs_, hooks);
  SEAHERALD_REQUIRE_TEST_SERVER(sound.Backend());
  ASSERT_TRUE(sound.Devices().OpenWaveIn(
      soundtest::InputIdNamed(sound.Backend(), soundtest::TestMonitorName)));
  ASSERT_TRUE(soundtest::WaitFor([&] { return captured > 0; }, 5s)) << "no captured block";

  const std::string japaneseBody = Utf8ToShiftJis("航行警報　右\r\n");
  const std::vector<StereoFrames> blocks = BothChannels(
      BroadcastBlocks(kMessage1), BroadcastBlocks(Utf8ToShiftJis("ＺＣＺＣ　ＧＡ１２３\r\n") +
                                                      japaneseBody + Utf8ToShiftJis("ＮＮＮＮ\r\n"),
                                                  {.english = false}));
  std::vector<std::int16_t> audio;
  for (const StereoFrames& block : blocks)
    audio.insert(audio.end(), block.begin(), block.end());
  const std::filesystem::path english = LogPath("GA01.txt");
  const std::filesystem::path japanese = LogPath("ＧＡ１２３.txt");
  {
    soundtest::Player player(audio);
    const int start = captured;
    // Counted in blocks handed over, as a loaded machine's capture runs behind the wall clock.
    soundtest::WaitFor(
        [&] {
          return (std::filesystem::exists(english) && std::filesystem::exists(japanese)) ||
                 captured - start > static_cast<int>(blocks.size()) + 30;
        },
        std::chrono::milliseconds(blocks.size() * 100) + 30s);
  }
  sound.CloseWaveIn();
  EXPECT_EQ(FileBytes(english), LogFileBytes(clock_.now, kBody1)) << Window().Log().ReceivedText();
  EXPECT_EQ(FileBytes(japanese), LogFileBytes(clock_.now, japaneseBody))
      << Window().SecondLog().ReceivedText();

  QTabBar* tabs = Window().Controls().TabControl1->Tabs();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kTabReceived).center());
  const QString left = PaneText();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kTabReceived2).center());
  const QString right = PaneText();
  EXPECT_TRUE(left.contains("FIRST MESSAGE 111") && !left.contains("航行")) << left.toStdString();
  EXPECT_TRUE(right.contains("航行警報　右") && !right.contains("FIRST")) << right.toStdString();
  EXPECT_TRUE(dialogs_.events.empty());
}

}  // namespace
}  // namespace seaherald::faults
