// What the window shows of a broadcast while it is received, and settings changed in the running
// window's settings dialog reaching the decoder at once.
#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QFrame>
#include <QToolButton>

#include "app/MainControls.h"
#include "app/SpectrumView.h"
#include "app/TForm3.h"
#include "app/UpDownButtons.h"
#include "tests/faults/FaultWindow.h"
#include "tests/support/ShiftJisText.h"

namespace seaherald::faults {
namespace {

const QColor Lime(0, 255, 0);
constexpr int LampRow = 3;
constexpr int LeftArrowX = 67;
constexpr int SquareX = 74;
constexpr int RightArrowX = 81;
constexpr std::size_t BlocksPerSecond = 10;

class ReceptionDisplay : public FaultWindowTest {
 protected:
  QColor ReceptionLamp() { return Window().Controls().Panel1->palette().color(QPalette::Window); }
  QColor TuningLamp(int x) { return Window().Controls().Image1->Picture().pixelColor(x, LampRow); }
  void FeedSilence(std::size_t seconds) {
    Feed(std::vector<StereoFrames>(seconds * BlocksPerSecond, StereoFrames{}), 0,
         seconds * BlocksPerSecond);
  }
  // The clock runs with the blocks, as the lamp's timing needs.
  void FeedTimed(const std::vector<StereoFrames>& blocks, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (i % BlocksPerSecond == 0) clock_.now.second = (clock_.now.second + 1) % 60;
      Feed(blocks, i, i + 1);
    }
  }
  void ReceiveBlocks(const std::vector<StereoFrames>& blocks) { Feed(blocks, 0, blocks.size()); }
  template <typename Control>
  Control* DialogControl(TForm3& dialog, const char* name) {
    auto* control = dialog.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
};

TEST_F(ReceptionDisplay, LampIsLimeDuringABroadcastAndBlackAfterIt) {
  const std::vector<StereoFrames> blocks = BroadcastBlocks(kMessage1);
  FeedTimed(blocks, 0, blocks.size() / 2);
  EXPECT_EQ(ReceptionLamp(), Lime);
  FeedTimed(blocks, blocks.size() / 2, blocks.size());
  FeedTimed(std::vector<StereoFrames>(5 * BlocksPerSecond, StereoFrames{}), 0, 5 * BlocksPerSecond);
  EXPECT_EQ(ReceptionLamp(), QColor(Qt::black));
}

// 20 Hz off: well outside the lamp's 5 Hz dead band, well inside the decoder's reach.
TEST_F(ReceptionDisplay, AMistunedBroadcastLightsTheArrowOfItsSide) {
  for (const auto& [offsetHz, litX] :
       std::vector<std::pair<double, int>>{{20, RightArrowX}, {-20, LeftArrowX}, {0, SquareX}}) {
    const std::vector<StereoFrames> blocks = BroadcastBlocks(kMessage1, {.offsetHz = offsetHz});
    Feed(blocks, 0, blocks.size() / 2);
    for (const int x : {LeftArrowX, SquareX, RightArrowX}) {
      EXPECT_EQ(TuningLamp(x) == Lime, x == litX) << "offset " << offsetHz << ", lamp at " << x;
    }
    FeedSilence(2);
  }
}

TEST_F(ReceptionDisplay, SettingsDialogChangesReachTheRunningDecoder) {
  TForm3 dialog(Window(), Window().ChooserService(), &Window());

  // Centre frequency 800 Hz down to 600 Hz.
  auto* centre = DialogControl<UpDownButtons>(dialog, "UpDown1");
  for (int step = 0; step < 20; ++step)
    centre->ClickDown();
  ReceiveBlocks(BroadcastBlocks(kMessage1, {.centerHz = 600}));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), LogFileBytes(clock_.now, kBody1));

  // Inverted polarity.
  DialogControl<QToolButton>(dialog, "SpeedButton4")->click();
  ReceiveBlocks(BroadcastBlocks(kMessage2, {.centerHz = 600, .inverted = true}));
  EXPECT_EQ(FileBytes(LogPath("GA02.txt")), LogFileBytes(clock_.now, kBody2));

  // The Japanese service, polarity back to normal.
  DialogControl<QToolButton>(dialog, "SpeedButton2")->click();
  DialogControl<QToolButton>(dialog, "SpeedButton3")->click();
  const std::string header = testsignal::Utf8ToShiftJis("ＧＡ１２３");
  const std::string body = testsignal::Utf8ToShiftJis("航行警報") + "\r\n";
  ReceiveBlocks(BroadcastBlocks(testsignal::Utf8ToShiftJis("ＺＣＺＣ　ＧＡ１２３\r\n") + body +
                                    testsignal::Utf8ToShiftJis("ＮＮＮＮ\r\n"),
                                {.english = false, .centerHz = 600}));
  EXPECT_EQ(FileBytes(paths_.logFolder / "ＧＡ１２３.txt"), LogFileBytes(clock_.now, body));
}

}  // namespace
}  // namespace seaherald::faults
