// The window with its second receiver on the right input channel: a window of one receiver stays
// as it was, and each receiver's status line, lamp and spectrum follow its own channel.
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

class TwoReceivers : public FaultWindowTest {
 protected:
  void ShowTab(int tab) {
    QTabBar* tabs = Window().Controls().TabControl1->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
  }
  // The tuning display's arrow for a station above the centre.
  bool RightArrowLit() { return Window().Controls().Image1->Picture().pixelColor(81, 3) == Lime; }
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
  EXPECT_EQ(Window().SecondLog().ReceivedText(), "");
  QTabBar* tabs = Window().Controls().TabControl1->Tabs();
  EXPECT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("受信電文"));
  EXPECT_TRUE(Window().Controls().StatusBar2->isHidden());
  Window().close();
  const std::string saved = FileBytes(paths_.settingsFile);
  EXPECT_TRUE(saved.find("Receiver2") == saved.npos && saved.find("CentF2") == saved.npos);
}

// The right channel carries a broadcast 20 Hz above the centre, the left one nothing.
TEST_F(TwoReceivers, StatusLineLampAndSpectrumFollowTheirOwnReceiver) {
  WriteFileBytes(paths_.settingsFile,
                 "[Set]\r\nDecLang=1\r\nReceiver2=1\r\nAutoSet2=0\r\nDecLang2=1\r\n");
  const auto blocks = BothChannels({}, BroadcastBlocks(kMessage2, {.offsetHz = 20}));
  const std::size_t during = blocks.size() * 2 / 3;  // the header is in, the end not
  Feed(blocks, 0, during - 5);
  EXPECT_FALSE(RightArrowLit());
  EXPECT_EQ(SecondLamp(), Lime);
  EXPECT_EQ(Window().Controls().StatusBar2->PanelText(1), QStringLiteral("GA02"));
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(1), QString());
  EXPECT_EQ(Window().Controls().TabControl1->Tabs()->tabText(0), QStringLiteral("受信電文１"));

  ShowTab(kTabReceived2);
  Feed(blocks, during - 5, during);
  EXPECT_TRUE(RightArrowLit());
  ShowTab(kTabStored);
  Feed(blocks, during, during + 1);
  EXPECT_FALSE(RightArrowLit());

  Feed(blocks, during + 1, blocks.size());
  EXPECT_EQ(FileBytes(LogPath("GA02.txt")), LogFileBytes(clock_.now, kBody2));
  Feed(std::vector<StereoFrames>(5, StereoFrames{}), 0, 5);
  EXPECT_EQ(SecondLamp(), QColor(Qt::black));
}

}  // namespace
}  // namespace seaherald::faults
