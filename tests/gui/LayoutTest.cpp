#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "WindowFixture.h"
#include "app/LogBrowserWidgets.h"
#include "app/SpectrumView.h"
#include "app/StatusPanels.h"
#include "app/TextTabs.h"

namespace seaherald::test {
namespace {

using LayoutTest = WindowTest;

TEST_F(LayoutTest, ToolBarButtonsHaveTheirPlacesAndCaptions) {
  const MainControls& c = Window().Controls();
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("SEAHERALD"));
  EXPECT_EQ(c.Panel6->height(), 30);
  EXPECT_EQ(c.SpeedButton5->geometry(), QRect(1, 1, 78, 28));
  EXPECT_EQ(c.SpeedButton5->text(), QStringLiteral("設　　定"));
  EXPECT_EQ(c.SpeedButton1->geometry(), QRect(85, 1, 78, 28));
  EXPECT_EQ(c.SpeedButton1->text(), QStringLiteral("モニター"));
  EXPECT_EQ(c.SpeedButton5->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(c.SpeedButton1->focusPolicy(), Qt::NoFocus);
}

TEST_F(LayoutTest, MonitorButtonLatchesAndReportsItsState) {
  TForm1& window = Window();
  std::vector<bool> reported;
  QObject::connect(&window, &TForm1::MonitorToggled, [&](bool on) { reported.push_back(on); });
  EXPECT_FALSE(window.MonitorOn());
  window.Controls().SpeedButton1->click();
  EXPECT_TRUE(window.MonitorOn());
  window.Controls().SpeedButton1->click();
  EXPECT_FALSE(window.MonitorOn());
  EXPECT_EQ(reported, (std::vector<bool>{true, false}));
}

TEST_F(LayoutTest, IndicatorsAndStatusPanelFollowTheRightEdge) {
  TForm1& window = Window();
  window.show();
  for (int width : {700, 876, 1234}) {
    window.resize(width, 600);
    const MainControls& c = window.Controls();
    EXPECT_EQ(c.Panel2->geometry(), QRect(width - 100, 3, 86, 25)) << width;
    EXPECT_EQ(c.Panel1->geometry(), QRect(width - 10, 3, 6, 25)) << width;
    EXPECT_EQ(c.StatusBar1->PanelWidth(0), width - 339) << width;
  }
  const MainControls& c = window.Controls();
  EXPECT_EQ(c.Image1->geometry(), QRect(1, 1, 84, 23));
  EXPECT_FALSE(c.Panel2->isEnabled());
  EXPECT_EQ(c.StatusBar1->height(), 19);
  for (int panel = 1; panel < 4; ++panel)
    EXPECT_EQ(c.StatusBar1->PanelWidth(panel), 100);
}

TEST_F(LayoutTest, FirstStartUsesTheDefaults) {
  TForm1& window = Window();
  window.show();
  const MainControls& c = window.Controls();
  EXPECT_EQ(window.frameGeometry(), QRect(0, 0, 700, 500));
  EXPECT_FALSE(window.isMaximized());
  EXPECT_EQ(c.Panel4->width(), 240);
  EXPECT_EQ(c.ListView1->height(), 160);
  const int widths[] = {120, 80, 200, 50};
  const QString headings[] = {QStringLiteral("受信時間"), QStringLiteral("電文番号"),
                              QStringLiteral("内容"), QStringLiteral("ERR")};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(c.ListView1->columnWidth(column), widths[column]);
    EXPECT_EQ(c.ListView1->horizontalHeaderItem(column)->text(), headings[column]);
  }
  EXPECT_DOUBLE_EQ(window.CenterFrequency(), 800.0);
  EXPECT_EQ(window.BrowserWidgets().SelectedTreeNode(), 0);
  QWidget* memo = c.TabControl1->Memo1();
  EXPECT_EQ(memo->font().family(), QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(memo->font().pointSize(), 9);
  EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(Qt::black));
  EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(LayoutTest, WindowCannotGoBelowItsMinimumSize) {
  TForm1& window = Window();
  window.show();
  window.resize(500, 300);
  EXPECT_EQ(window.frameGeometry().size(), QSize(700, 500));
}

TEST_F(LayoutTest, TabStripCarriesTabsLabelDeleteButtonsAndPane) {
  TForm1& window = Window();
  window.show();
  TextTabs* tabs = window.Controls().TabControl1;
  EXPECT_EQ(tabs->Tabs()->count(), 2);
  EXPECT_EQ(tabs->Tabs()->tabText(0), QStringLiteral("受信電文"));
  EXPECT_EQ(tabs->Tabs()->tabText(1), QStringLiteral("読出電文"));
  EXPECT_EQ(tabs->Tabs()->currentIndex(), 0);
  for (int width : {300, 517}) {
    tabs->resize(width, 200);
    EXPECT_EQ(tabs->SpeedButton7()->geometry(), QRect(width - 114, 0, 56, 20));
    EXPECT_EQ(tabs->SpeedButton8()->geometry(), QRect(width - 56, 0, 56, 20));
  }
  EXPECT_EQ(tabs->SpeedButton7()->text(), QStringLiteral("１件削除"));
  EXPECT_EQ(tabs->SpeedButton8()->text(), QStringLiteral("全件削除"));
  EXPECT_EQ(tabs->Label1()->geometry().topLeft(), QPoint(136, 4));
  EXPECT_EQ(tabs->Label1()->width(), 145);
  EXPECT_TRUE(tabs->Memo1()->isReadOnly());
  EXPECT_EQ(tabs->Memo1()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_GE(tabs->Memo1()->y(), tabs->Tabs()->height());
  // The tabs leave room for the label beside them.
  EXPECT_LE(tabs->Tabs()->tabRect(1).right(), 136);
}

TEST_F(LayoutTest, PaneShowsTheStartUpTextExactly) {
  const QStringList expected{"SEAHERALD ver.1.0.1 build000",       "",
                             "ナブテックス放送スケジュール",       "    英文 (518kHz)",
                             "\t那覇\t門司\t横浜\t小樽\t釧路",     "\t0200\t0210\t0220\t0230\t0240",
                             "\t0600\t0610\t0620\t0630\t0640",     "\t1000\t1010\t1020\t1030\t1040",
                             "\t1400\t1410\t1420\t1430\t1440",     "\t1800\t1810\t1820\t1830\t1840",
                             "\t2200\t2210\t2220\t2230\t2240 JST", "    和文 (424kHz)",
                             "\t那覇\t門司\t横浜\t小樽\t釧路",     "\t0100\t0117\t0134\t0151\t0208",
                             "\t0500\t0517\t0534\t0551\t0608",     "\t0900\t0917\t0934\t0951\t1008",
                             "\t1300\t1317\t1334\t1351\t1408",     "\t1700\t1717\t1734\t1751\t1808",
                             "\t2100\t2117\t2134\t2151\t2208 JST"};
  EXPECT_EQ(Window().Controls().TabControl1->Memo1()->toPlainText(), expected.join('\n'));
}

TEST_F(LayoutTest, StoredSizesFontAndColoursAreApplied) {
  WriteSettings(
      "[Set]\nColumnsWidth0=150\nColumnsWidth1=90\nColumnsWidth2=210\nColumnsWidth3=40\n"
      "PanelWidth=300\nPanelHeight=200\nFontSize=12\nFontName=IPAGothic\n"
      "FontColor=0000FF\nBackColor=FF0000\n");
  TForm1& window = Window();
  window.show();
  const MainControls& c = window.Controls();
  EXPECT_EQ(c.Panel4->width(), 300);
  EXPECT_EQ(c.ListView1->height(), 200);
  const int widths[] = {150, 90, 210, 40};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(c.ListView1->columnWidth(column), widths[column]);
  }
  for (QWidget* view :
       std::initializer_list<QWidget*>{c.TabControl1->Memo1(), c.TreeView1, c.ListView1}) {
    EXPECT_EQ(view->font().family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(view->font().pointSize(), 12);
    EXPECT_EQ(view->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(view->palette().color(QPalette::Base), QColor(0, 0, 255));
  }
  // The status bar keeps its own font.
  EXPECT_EQ(c.StatusBar1->font().pixelSize(), 12);
}

TEST_F(LayoutTest, DefaultFaceIsDrawnWithAnInstalledJapaneseGothic) {
  QWidget* memo = Window().Controls().TabControl1->Memo1();
  EXPECT_EQ(QFontInfo(memo->font()).family(), QStringLiteral("IPAGothic"));
  EXPECT_EQ(Window().SettingsRecord().FontName, Sjis("ＭＳ ゴシック"));
}

TEST_F(LayoutTest, LimitsBelowOneAreRaisedAtStartUp) {
  WriteSettings("[Set]\nDeleteDay=0\nTimeOut=-5\nErrNum=0\n[Wave]\nCentF=5\n");
  const Settings& settings = Window().SettingsRecord();
  EXPECT_EQ(settings.DeleteDay, 1);
  EXPECT_EQ(settings.TimeOut, 1);
  EXPECT_EQ(settings.ErrNum, 1);
  EXPECT_EQ(settings.CentF, 5);  // nothing else is limited
  EXPECT_DOUBLE_EQ(Window().CenterFrequency(), 50.0);
}

}  // namespace
}  // namespace seaherald::test
