#include <QCheckBox>
#include <QFrame>
#include <QImage>

#include <array>
#include <cmath>
#include <numbers>

#include "WindowFixture.h"
#include "app/SpectrumView.h"
#include "app/StatusPanels.h"
#include "app/TForm3.h"
#include "msglog/MessageLog.h"

namespace seaherald::test {
namespace {

using StereoFrames = std::array<std::int16_t, static_cast<std::size_t>(BlockFrames) * 2>;

const QColor Lime(0, 255, 0);
const QColor Green(0, 128, 0);
const QColor Grey(128, 128, 128);

class BlockDisplayTest : public WindowTest {
 protected:
  void Feed(const StereoFrames& frames, int blocks = 1) {
    for (int i = 0; i < blocks; ++i)
      ShownWindow().ProcessWaveBlock(StereoBlock(frames));
  }
  QColor Pixel(int x, int y) { return Window().Controls().Image1->Picture().pixelColor(x, y); }
  QColor LampColour() { return Window().Controls().Panel1->palette().color(QPalette::Window); }
};

TEST_F(BlockDisplayTest, SilenceDrawsMarkersAndTheCentreLamp) {
  Feed(StereoFrames{}, 3);
  const QImage& picture = Window().Controls().Image1->Picture();
  ASSERT_EQ(picture.size(), QSize(84, 23));
  EXPECT_EQ(Pixel(36, 0), Grey);
  EXPECT_EQ(Pixel(36, 4), QColor(Qt::black));
  EXPECT_EQ(Pixel(49, 20), Grey);  // three on, three off from the top
  EXPECT_EQ(Pixel(49, 22), QColor(Qt::black));
  EXPECT_EQ(Pixel(74, 3), Lime);
  EXPECT_EQ(Pixel(67, 3), Green);
  EXPECT_EQ(Pixel(81, 3), Green);
  EXPECT_EQ(Pixel(10, 22), QColor(Qt::black));
  // The spectrum frame sits on the tool bar and the picture is the window's own bitmap.
  EXPECT_EQ(picture.pixelColor(74, 3), QColor(0, 255, 0));
}

TEST_F(BlockDisplayTest, ToneAtTheLowerMarkerRisesInColumn36) {
  // 800 Hz centre: the lower tone, 715 Hz, lands at 1415 Hz after the mixer.
  StereoFrames frames{};
  std::size_t n = 0;
  for (int block = 0; block < 4; ++block) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(BlockFrames); ++i, ++n) {
      const double t = static_cast<double>(n) / 44100.0;
      frames[2 * i] =
          static_cast<std::int16_t>(8000.0 * std::sin(2.0 * std::numbers::pi * 715.0 * t));
      frames[2 * i + 1] = 0;
    }
    Feed(frames);
  }
  auto barTop = [&](int x) {
    for (int y = 7; y < 23; ++y) {
      if (Pixel(x, y) == Lime) return y;
    }
    return 23;
  };
  EXPECT_LT(barTop(36), 23);
  for (int x = 0; x < 60; ++x) {
    if (std::abs(x - 36) > 1) {
      EXPECT_GT(barTop(x), barTop(36)) << "column " << x;
    }
  }
}

TEST_F(BlockDisplayTest, ClockPanelShowsTheTimeOfEachNewSecond) {
  clock_.now = LocalDateTime{2024, 3, 31, 9, 5, 7};
  Feed(StereoFrames{});
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(3), QStringLiteral("09:05:07"));
  clock_.now.second = 8;
  Feed(StereoFrames{});
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(3), QStringLiteral("09:05:08"));
}

TEST_F(BlockDisplayTest, LampStaysBlackWithoutReception) {
  ShownWindow();
  EXPECT_EQ(LampColour(), QColor(Qt::black));
  Feed(StereoFrames{}, 5);
  EXPECT_EQ(LampColour(), QColor(Qt::black));
}

TEST_F(BlockDisplayTest, TimeOutDropsTheMessageInProgressAndClearsItsPanels) {
  WriteSettings("[Set]\nTimeOut=2\nDecLang=1\n");
  ShownWindow();
  Window().Log().AddReceivedLine("ZCZC GA01", false);
  ASSERT_EQ(Window().Controls().StatusBar1->PanelText(1), QStringLiteral("GA01"));
  for (int second = 1; second <= 4; ++second) {
    clock_.now.second = second;
    Feed(StereoFrames{});
  }
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(1), QString());
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(2), QString());
  EXPECT_TRUE(Window().Log().CurrentHeader().empty());
}

TEST_F(BlockDisplayTest, TickingAutomaticDeletionRunsItAtTheNextSecond) {
  WriteLog("GA01.txt", "2024/01/01 10:00:00", 0, {"x"});
  ShownWindow();
  auto* dialog = new TForm3(Window(), choosers_, &Window());
  Feed(StereoFrames{});  // first second: automatic deletion still off
  for (int second = 1; second < 5; ++second) {
    clock_.now.second = second;
    Feed(StereoFrames{});
  }
  ASSERT_TRUE(LogExists("GA01.txt"));
  dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox2"))->click();
  EXPECT_TRUE(LogExists("GA01.txt"));
  Feed(StereoFrames{});  // same second: nothing yet
  EXPECT_TRUE(LogExists("GA01.txt"));
  clock_.now.second = 5;
  Feed(StereoFrames{});
  EXPECT_FALSE(LogExists("GA01.txt"));
}

}  // namespace
}  // namespace seaherald::test
