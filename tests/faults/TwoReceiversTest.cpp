// The window with its second receiver on the right input channel: a window of one receiver stays
// as it was, and each receiver's status line, lamp and spectrum follow its own channel.
#include <QCoreApplication>
#include <QTabBar>
#include <QTest>
#include <cstdint>

#include "app/SpectrumView.h"
#include "app/StatusPanels.h"
#include "app/TextTabs.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"
#include "tests/faults/FaultWindow.h"

namespace seaherald::faults {
namespace {

const QColor Lime(0, 255, 0);
constexpr int LampRow = 3;
constexpr int RightArrowX = 81;
constexpr int LampPanel = 3;

class TwoReceivers : public FaultWindowTest {
 protected:
  void ShowTab(int tab) {
    QTabBar* tabs = Window().Controls().TabControl1->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
  }
  bool TuningArrowLit() {
    return Window().Controls().Image1->Picture().pixelColor(RightArrowX, LampRow) == Lime;
  }
  QColor SecondLamp() {
    return Window()
        .Controls()
        .StatusBar2->findChild<QWidget*>("StatusPanel3")
        ->palette()
        .color(QPalette::Window);
  }
};

TEST_F(TwoReceivers, OneReceiverLeavesTheRightChannelAndTheWindowAsTheyWere) {
  Feed(BothChannels(BroadcastBlocks(kMessage1), BroadcastBlocks(kMessage2)), 0, SIZE_MAX);
  EXPECT_EQ(NamesIn(paths_.logFolder), std::vector<std::string>{"GA01.txt"});
  EXPECT_FALSE(ReceivedTextHas("GA02"));
  EXPECT_EQ(Window().SecondLog().ReceivedText(), "");
  QTabBar* tabs = Window().Controls().TabControl1->Tabs();
  EXPECT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("受信電文"));
  EXPECT_TRUE(Window().Controls().StatusBar2->isHidden());
  Window().close();
  const std::string saved = FileBytes(paths_.settingsFile);
  for (const char* key : {"Receiver2", "CentF2", "DecLang2", "AutoSet2"})
    EXPECT_EQ(saved.find(key), std::string::npos) << key;
}

// The right channel carries a broadcast 20 Hz above the centre, the left one nothing: only while
// the second receiver's tab is in view does the tuning display show it.
TEST_F(TwoReceivers, StatusLineLampAndSpectrumFollowTheirOwnReceiver) {
  WriteFileBytes(paths_.settingsFile,
                 "[Set]\r\nAutoSet=0\r\nDecLang=1\r\nReceiver2=1\r\n"
                 "AutoSet2=0\r\nDecLang2=1\r\n");
  const std::vector<StereoFrames> blocks =
      BothChannels({}, BroadcastBlocks(kMessage2, {.offsetHz = 20}));
  const std::size_t half = blocks.size() * 2 / 3;  // the header is in, the end not
  Feed(blocks, 0, half - 5);
  EXPECT_FALSE(TuningArrowLit());
  EXPECT_EQ(SecondLamp(), Lime);
  StatusPanels* first = Window().Controls().StatusBar1;
  StatusPanels* second = Window().Controls().StatusBar2;
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(second->PanelText(1), QStringLiteral("GA02"));
  EXPECT_EQ(second->PanelText(LampPanel), QStringLiteral("受信電文２"));
  EXPECT_EQ(first->PanelText(1), QString());
  EXPECT_EQ(Window().Controls().TabControl1->Tabs()->tabText(0), QStringLiteral("受信電文１"));

  ShowTab(kTabReceived2);
  Feed(blocks, half - 5, half);
  EXPECT_TRUE(TuningArrowLit());
  ShowTab(kTabReceived);
  Feed(blocks, half, half + 1);
  EXPECT_FALSE(TuningArrowLit());

  Feed(blocks, half + 1, blocks.size());
  EXPECT_EQ(FileBytes(LogPath("GA02.txt")), LogFileBytes(clock_.now, kBody2));
  for (int second = 0; second < 5; ++second) {
    clock_.now.second = (clock_.now.second + 1) % 60;
    Feed(std::vector<StereoFrames>(10, StereoFrames{}), 0, 10);
  }
  EXPECT_EQ(SecondLamp(), QColor(Qt::black));
}

}  // namespace
}  // namespace seaherald::faults
