#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTreeWidget>

#include "WindowFixture.h"
#include "app/LogBrowserWidgets.h"
#include "app/StatusPanels.h"
#include "app/TextTabs.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"

namespace seaherald::test {
namespace {

// Depth-first node indexes.
constexpr int EnglishNode = 0;
constexpr int EnglishNahaNode = 1;
constexpr int EnglishNahaNavWarnings = 2;
constexpr int EnglishNahaMetWarnings = 3;
constexpr int EnglishNahaOtherType = 15;
constexpr int EnglishOtherStation = 76;
constexpr int EnglishOtherStationNavWarnings = 77;
constexpr int JapaneseNode = 91;
constexpr int JapaneseNahaNavWarnings = 93;
constexpr int LastNode = 181;

std::vector<std::string> Body(const std::string& fourthLine) {
  return {"ZCZC GA01", "NAHA NAVTEX", "NAVAREA XI", fourthLine, "NNNN"};
}

class LogBrowserWindowTest : public WindowTest {
 protected:
  void WriteSampleLogs() {
    WriteLog("GA01.txt", "2024/03/01 10:20:30", 2, Body("FIRST WARNING"));
    WriteLog("GA02.txt", "2024/03/02 08:00:00", 999, Body("SECOND WARNING"));
    WriteLog("GB03.txt", "2024/03/03 09:00:00", 0, Body("GALE"));
    WriteLog("GI05.txt", "2024/03/04 09:00:00", 0, Body("OTHER TYPE"));
    WriteLog("XA04.txt", "2024/03/05 09:00:00", 1, Body("FOREIGN"));
    WriteLog("ＧＡ０１.txt", "2024/03/06 07:00:00", 0,
             {"ＺＣＺＣ　ＧＡ０１", "那覇ナブテックス", "航行警報", "沖縄南方", "ＮＮＮＮ"});
  }
};

TEST_F(LogBrowserWindowTest, TreeHas182NodesLabelledWithCounts) {
  WriteSampleLogs();
  QTreeWidget* tree = ShownWindow().Controls().TreeView1;
  EXPECT_EQ(tree->topLevelItemCount(), 2);
  int nodes = 0;
  for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
    ++nodes;
  EXPECT_EQ(nodes, 182);
  EXPECT_EQ(TreeLabel(EnglishNode), QStringLiteral("英文 (5)"));
  EXPECT_EQ(TreeLabel(EnglishNahaNode), QStringLiteral("那覇 (4)"));
  EXPECT_EQ(TreeLabel(EnglishNahaNavWarnings), QStringLiteral("航行警報 (2)"));
  EXPECT_EQ(TreeLabel(EnglishNahaMetWarnings), QStringLiteral("気象警報 (1)"));
  EXPECT_EQ(TreeLabel(EnglishNahaOtherType), QStringLiteral("その他 (1)"));
  EXPECT_EQ(TreeLabel(EnglishOtherStation), QStringLiteral("その他 (1)"));
  EXPECT_EQ(TreeLabel(EnglishOtherStationNavWarnings), QStringLiteral("航行警報 (1)"));
  EXPECT_EQ(TreeLabel(JapaneseNode), QStringLiteral("和文 (1)"));
  EXPECT_EQ(TreeLabel(JapaneseNahaNavWarnings), QStringLiteral("航行警報 (1)"));
  EXPECT_EQ(TreeLabel(LastNode), QStringLiteral("その他 (0)"));
}

TEST_F(LogBrowserWindowTest, WithoutLogFolderEveryCountIsZeroAndListEmpty) {
  ShownWindow();
  for (int node = 0; node < 182; ++node) {
    EXPECT_TRUE(TreeLabel(node).endsWith(QStringLiteral(" (0)"))) << node;
  }
  EXPECT_EQ(Window().Controls().ListView1->rowCount(), 0);
}

struct StoredSelection {
  const char* settings;
  int selectedNode;
};

class StoredTreeSelection : public WindowTest,
                            public ::testing::WithParamInterface<StoredSelection> {};

TEST_P(StoredTreeSelection, SelectsTheStoredNode) {
  WriteSettings(GetParam().settings);
  EXPECT_EQ(ShownWindow().BrowserWidgets().SelectedTreeNode(), GetParam().selectedNode);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, StoredTreeSelection,
    ::testing::Values(StoredSelection{"", 0},
                      StoredSelection{"[Disp]\nViewLangNum=1\nViewBaseNum=5\nViewTypeNum=13\n",
                                      181},
                      StoredSelection{"[Disp]\nViewLangNum=0\nViewBaseNum=0\nViewTypeNum=0\n", 2},
                      StoredSelection{"[Disp]\nViewLangNum=7\nViewBaseNum=0\nViewTypeNum=0\n", 0}));

TEST_F(LogBrowserWindowTest, ClickingATypeLeafFillsTheListNewestFirst) {
  WriteSampleLogs();
  ClickTreeNode(EnglishNahaNavWarnings);
  ASSERT_EQ(Window().Controls().ListView1->rowCount(), 2);
  EXPECT_EQ(ListRowTexts(0), (QStringList{"2024/03/02 08:00", "GA02", "SECOND WARNING", "-"}));
  EXPECT_EQ(ListRowTexts(1), (QStringList{"2024/03/01 10:20", "GA01", "FIRST WARNING", "2"}));
  const Settings& settings = Window().SettingsRecord();
  EXPECT_EQ(settings.ViewLangNum, 0);
  EXPECT_EQ(settings.ViewBaseNum, 0);
  EXPECT_EQ(settings.ViewTypeNum, 0);
}

TEST_F(LogBrowserWindowTest, JapaneseLogsListOnlyUnderTheirLanguage) {
  WriteSampleLogs();
  ClickTreeNode(JapaneseNahaNavWarnings);
  ASSERT_EQ(Window().Controls().ListView1->rowCount(), 1);
  EXPECT_EQ(ListRowTexts(0), (QStringList{"2024/03/06 07:00", "ＧＡ０１", "沖縄南方", "0"}));
}

TEST_F(LogBrowserWindowTest, ClickingStationOrLanguageNodeKeepsListAndSelection) {
  WriteSampleLogs();
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickTreeNode(EnglishNahaNode);
  ClickTreeNode(JapaneseNode);
  EXPECT_EQ(Window().Controls().ListView1->rowCount(), 2);
  EXPECT_EQ(Window().SettingsRecord().ViewTypeNum, 0);
  EXPECT_EQ(Window().SettingsRecord().ViewLangNum, 0);
}

TEST_F(LogBrowserWindowTest, StoredSelectionFillsTheListAtStartUp) {
  WriteSampleLogs();
  WriteSettings("[Disp]\nViewLangNum=0\nViewBaseNum=5\nViewTypeNum=0\n");
  ShownWindow();
  EXPECT_EQ(Window().BrowserWidgets().SelectedTreeNode(), EnglishOtherStationNavWarnings);
  ASSERT_EQ(Window().Controls().ListView1->rowCount(), 1);
  EXPECT_EQ(ListRowTexts(0)[1], QStringLiteral("XA04"));
}

TEST_F(LogBrowserWindowTest, ColumnClicksSortInByteOrderAndReverse) {
  WriteLog("GA10.txt", "2024/03/01 10:00:00", 10, Body("b"));
  WriteLog("GA09.txt", "2024/03/03 10:00:00", 9, Body("a"));
  WriteLog("GA11.txt", "2024/03/02 10:00:00", 999, Body("C"));
  ClickTreeNode(EnglishNahaNavWarnings);
  EXPECT_EQ(ListRowTexts(0)[1], QStringLiteral("GA09"));  // newest first
  ClickColumnHeading(0);
  EXPECT_EQ(Window().SettingsRecord().SortType, 1);
  EXPECT_EQ(ListRowTexts(0)[1], QStringLiteral("GA10"));  // oldest first
  ClickColumnHeading(0);
  EXPECT_EQ(Window().SettingsRecord().SortType, -1);
  EXPECT_EQ(ListRowTexts(0)[1], QStringLiteral("GA09"));
  ClickColumnHeading(2);  // "C" < "a" < "b" in byte order; first row "a" is not after "b"
  EXPECT_EQ(Window().SettingsRecord().SortType, -3);
  EXPECT_EQ(ListRowTexts(0)[2], QStringLiteral("b"));
  EXPECT_EQ(ListRowTexts(2)[2], QStringLiteral("C"));
  ClickColumnHeading(3);  // "-" < "10" < "9" as text; first row "10" is after last row "-"
  EXPECT_EQ(Window().SettingsRecord().SortType, 4);
  EXPECT_EQ(ListRowTexts(0)[3], QStringLiteral("-"));
  EXPECT_EQ(ListRowTexts(1)[3], QStringLiteral("10"));
  EXPECT_EQ(ListRowTexts(2)[3], QStringLiteral("9"));
}

TEST_F(LogBrowserWindowTest, ChoosingARowShowsTheStoredMessageOnTab1) {
  WriteSampleLogs();
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickListRow(1);
  EXPECT_EQ(ActiveTab(), 1);
  EXPECT_EQ(LabelText(), QStringLiteral("電文番号：GA01"));
  EXPECT_EQ(PaneText(),
            QStringLiteral("ZCZC GA01\nNAHA NAVTEX\nNAVAREA XI\nFIRST WARNING\nNNNN\n\n"));
  EXPECT_FALSE(Window().Browser().ShowingReceived());
}

TEST_F(LogBrowserWindowTest, TabsSwitchBetweenReceivedAndStoredText) {
  WriteSampleLogs();
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickListRow(0);
  const QString stored = PaneText();
  Window().Log().AddReceivedLine("HELLO", false);
  EXPECT_EQ(PaneText(), stored);  // reading mode is not disturbed
  ClickTab(0);
  EXPECT_TRUE(Window().Browser().ShowingReceived());
  EXPECT_TRUE(PaneText().contains(QStringLiteral("HELLO")));
  EXPECT_EQ(LabelText(), QString());
  Window().Log().AddReceivedLine(Sjis("こんにちは"), true);
  EXPECT_TRUE(PaneText().contains(QStringLiteral("こんにちは...")));
  ClickTab(1);
  EXPECT_EQ(PaneText(), stored);
  EXPECT_EQ(LabelText(), QStringLiteral("電文番号：GA02"));
}

TEST_F(LogBrowserWindowTest, PaneKeepsStartUpTextUntilFirstRefill) {
  ShownWindow();
  EXPECT_TRUE(PaneText().startsWith(QStringLiteral("SEAHERALD ver.1.0.1 build000")));
  Window().Log().AddReceivedLine("NNNN", false);
  EXPECT_FALSE(PaneText().contains(QStringLiteral("SEAHERALD ver.")));
  EXPECT_TRUE(PaneText().startsWith(QStringLiteral("NNNN")));
}

TEST_F(LogBrowserWindowTest, ReceivedTextFollowsItsNewestLineAndStoredTextStartsAtTheTop) {
  WriteLog("GA01.txt", "2024/03/01 10:20:30", 0, Body("X"));
  ShownWindow();
  QPlainTextEdit* memo = Window().Controls().TabControl1->Memo1();
  for (int i = 0; i < 300; ++i)
    Window().Log().AddReceivedLine("LINE " + std::to_string(i), false);
  QCoreApplication::processEvents();
  ASSERT_GT(memo->verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(memo->verticalScrollBar()->value(), memo->verticalScrollBar()->maximum());
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickListRow(0);
  QCoreApplication::processEvents();
  EXPECT_EQ(memo->verticalScrollBar()->value(), 0);
}

TEST_F(LogBrowserWindowTest, RefillLeavesNoRowSelectedAndPaneAsItWas) {
  WriteSampleLogs();
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickListRow(0);
  const QString stored = PaneText();
  Window().Browser().RebuildLogTree();
  EXPECT_EQ(Window().BrowserWidgets().SelectedRow(), -1);
  EXPECT_EQ(PaneText(), stored);
}

TEST_F(LogBrowserWindowTest, StatusPanelsShowLiveLineAndMessageInProgress) {
  WriteSettings("[Set]\nDecLang=1\n");
  ShownWindow();
  Window().Log().ShowLiveLine("ZCZ");
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(0), QStringLiteral("ZCZ"));
  Window().Log().AddReceivedLine("ZCZC GA01", false);
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(1), QStringLiteral("GA01"));
  EXPECT_EQ(Window().Controls().StatusBar1->PanelText(2), QStringLiteral("那覇"));
}

}  // namespace
}  // namespace seaherald::test
