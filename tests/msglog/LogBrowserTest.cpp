#include "msglog/LogBrowser.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "MsglogFakes.h"
#include "msglog/Catalogue.h"
#include "msglog/FolderLock.h"
#include "msglog/MessageLog.h"

namespace seaherald {
namespace {

using testing::FakeBrowserView;
using testing::FakeClock;
using testing::FakeDialogs;
using testing::FakeStatusView;
using testing::LogContent;
using testing::NativePath;
using testing::ReadBytes;
using testing::Sjis;
using testing::TempFolder;
using testing::WriteBytes;

class LogBrowserTest : public ::testing::Test {
 protected:
  // Stores a log file as the message log would have written it.
  void Store(const std::string& sjisName, const std::string& stamp = "2024/03/31 12:34:56",
             const std::string& count = "000", const std::string& body = "L4\r\n") {
    std::filesystem::create_directories(logPath_);
    WriteBytes(Native(sjisName), LogContent(stamp, count, body));
  }
  std::filesystem::path Native(const std::string& sjisName) const {
    return NativePath(logPath_, sjisName);
  }
  bool Exists(const std::string& sjisName) const {
    return std::filesystem::exists(std::filesystem::symlink_status(Native(sjisName)));
  }
  // The count at the end of a node label.
  std::string Count(int node) const {
    const std::string& label = view_.treeLabels.at(static_cast<std::size_t>(node));
    const std::size_t open = label.rfind(" (");
    return label.substr(open + 2, label.size() - open - 3);
  }
  std::vector<std::string> Headers() const {
    std::vector<std::string> headers;
    for (const ListRow& row : view_.rows)
      headers.push_back(row.ColumnText(1));
    return headers;
  }
  void Select(int lang, int base, int type) {
    browser_.TreeNodeClicked(Catalogue::TypeNodeIndex(lang, base, type));
  }

  TempFolder temp_;
  std::filesystem::path logPath_ = temp_.Path() / "log";
  Settings settings_;
  FakeClock clock_;
  FakeBrowserView view_;
  FakeDialogs dialogs_;
  LogFolder folder_{logPath_};
  LogBrowser browser_{settings_, clock_, folder_, view_, dialogs_};
};

TEST_F(LogBrowserTest, WithoutALogFolderEveryCountIsZeroAndTheListEmpty) {
  browser_.Start();
  ASSERT_EQ(view_.treeLabels.size(), 182u);
  for (int node = 0; node < kTreeNodeCount; ++node)
    EXPECT_EQ(Count(node), "0") << node;
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_EQ(view_.selectedNode, 0);
  EXPECT_EQ(view_.activeTab, kTabReceived);
  EXPECT_EQ(view_.pane, "startup text");
  EXPECT_TRUE(browser_.ShowingReceived());
}

TEST_F(LogBrowserTest, TreeLabelsUseJapaneseNamesUnderBothLanguages) {
  Store("GA12.txt");
  browser_.RebuildLogTree();
  EXPECT_EQ(view_.treeLabels[0], Sjis("英文 (1)"));
  EXPECT_EQ(view_.treeLabels[1], Sjis("那覇 (1)"));
  EXPECT_EQ(view_.treeLabels[2], Sjis("航行警報 (1)"));
  EXPECT_EQ(view_.treeLabels[91], Sjis("和文 (0)"));
  EXPECT_EQ(view_.treeLabels[181], Sjis("その他 (0)"));
  EXPECT_EQ(browser_.TreeLabels(), view_.treeLabels);
}

TEST_F(LogBrowserTest, StoredSelectionPicksItsNodeAtStartUp) {
  settings_.ViewLangNum = 1;
  settings_.ViewBaseNum = 5;
  settings_.ViewTypeNum = 13;
  browser_.Start();
  EXPECT_EQ(view_.selectedNode, 181);
  settings_.ViewLangNum = 0;
  settings_.ViewBaseNum = 0;
  settings_.ViewTypeNum = 0;
  EXPECT_EQ(browser_.InitialTreeNode(), 2);
}

TEST_F(LogBrowserTest, StoredSelectionThatNamesNoNodeCountsAsNone) {
  Store("GA12.txt");
  for (const auto& [lang, base, type] :
       {std::tuple{2, 0, 0}, {0, 6, 0}, {0, 0, 14}, {-1, 0, 0}, {0, -1, 3}}) {
    settings_.ViewLangNum = lang;
    settings_.ViewBaseNum = base;
    settings_.ViewTypeNum = type;
    browser_.Start();
    EXPECT_EQ(view_.selectedNode, 0);
    EXPECT_TRUE(view_.rows.empty());
  }
  dialogs_.answer = true;
  browser_.DeleteAllOfSelection();
  EXPECT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_TRUE(Exists("GA12.txt"));
}

TEST_F(LogBrowserTest, LanguagesStationsAndTypesAreCountedApart) {
  Store("GA12.txt");
  Store(Sjis("ＧＡ１２３.txt"));
  Store("XA01.txt");
  Store("QA02.txt");
  Store("GI03.txt");
  Store("GZ04.txt");
  Store(Sjis("ＫＬ０１２.txt"));
  browser_.RebuildLogTree();
  EXPECT_EQ(Count(Catalogue::LangNodeIndex(0)), "5");
  EXPECT_EQ(Count(Catalogue::LangNodeIndex(1)), "2");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "1");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(1, 0, 0)), "1");
  EXPECT_EQ(Count(Catalogue::BaseNodeIndex(0, 0)), "3");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 13)), "2");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 5, 0)), "2");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(1, 4, 10)), "1");

  Select(0, 0, 0);
  EXPECT_EQ(Headers(), std::vector<std::string>{"GA12"});
  Select(1, 0, 0);
  EXPECT_EQ(Headers(), std::vector<std::string>{Sjis("ＧＡ１２３")});
  Select(0, 5, 0);
  EXPECT_EQ(view_.rows.size(), 2u);
  Select(0, 0, 13);  // every B2 outside the table, as counted
  EXPECT_EQ(view_.rows.size(), 2u);
}

TEST_F(LogBrowserTest, BadFolderContentsAreHandled) {
  Store("GA10.txt");
  std::filesystem::create_directory(logPath_ / "GA11.txt");
  WriteBytes(logPath_ / "GA12.txt", "");
  WriteBytes(logPath_ / "GA13.txt", "Last received 2024/03/30 01:02:03\r\n");
  WriteBytes(logPath_ / "GA14.txt", std::string("binary\0\xff\x82", 9));
  std::filesystem::create_symlink("nowhere", logPath_ / "GA15.txt");
  WriteBytes(logPath_ / "\xff\xfe.txt", "x");
  WriteBytes(logPath_ / "notes.md", "x");
  ASSERT_EQ(::mkfifo((logPath_ / "GA16.txt").c_str(), 0600), 0);
  settings_.ViewLangNum = settings_.ViewBaseNum = settings_.ViewTypeNum = 0;
  browser_.RebuildLogTree();
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "5");
  EXPECT_EQ(Count(Catalogue::LangNodeIndex(0)), "5");
  ASSERT_EQ(view_.rows.size(), 5u);
  const auto row = [&](const std::string& header) {
    const int index = view_.RowOf(header);
    return index < 0 ? ListRow{"missing", {}} : view_.rows[static_cast<std::size_t>(index)];
  };
  EXPECT_EQ(row("GA12"), (ListRow{"", {"GA12", "", "0"}}));
  EXPECT_EQ(row("GA13"), (ListRow{"2024/03/30 01:02", {"GA13", "", "0"}}));
  EXPECT_EQ(row("GA14").ColumnText(3), "0");
  EXPECT_EQ(row("GA10").ColumnText(0), "2024/03/31 12:34");
  // The unreadable link has a row without sub-items.
  EXPECT_EQ(std::count(view_.rows.begin(), view_.rows.end(), ListRow{"", {}}), 1);
}

TEST_F(LogBrowserTest, ListRowsShowStampHeaderSeventhLineAndErrors) {
  Store("GA12.txt", "2024/03/31 08:09:10", "007", "B1\r\nB2\r\nB3\r\nB4\r\nB5\r\n");
  Store("GA13.txt", "2024/03/31 08:09:10", "999", "B1\r\n");
  Store("GA14.txt", "2024/03/31 08:09:10", "1234", "B1\r\n");
  Select(0, 0, 0);
  EXPECT_EQ(view_.rows[static_cast<std::size_t>(view_.RowOf("GA12"))],
            (ListRow{"2024/03/31 08:09", {"GA12", "B4", "7"}}));
  EXPECT_EQ(view_.rows[static_cast<std::size_t>(view_.RowOf("GA13"))].ColumnText(3), "-");
  EXPECT_EQ(view_.rows[static_cast<std::size_t>(view_.RowOf("GA13"))].ColumnText(2), "B1");
  EXPECT_EQ(view_.rows[static_cast<std::size_t>(view_.RowOf("GA14"))].ColumnText(3), "123");
}

TEST_F(LogBrowserTest, ClickingUpperNodesChangesNothing) {
  Store("GA12.txt");
  Select(0, 0, 0);
  const int updates = view_.listUpdates;
  browser_.TreeNodeClicked(Catalogue::LangNodeIndex(1));
  browser_.TreeNodeClicked(Catalogue::BaseNodeIndex(1, 3));
  browser_.TreeNodeClicked(-1);
  browser_.TreeNodeClicked(500);
  EXPECT_EQ(view_.listUpdates, updates);
  EXPECT_EQ(Headers(), std::vector<std::string>{"GA12"});
  EXPECT_EQ(settings_.ViewLangNum, 0);
  EXPECT_EQ(settings_.ViewBaseNum, 0);
  EXPECT_EQ(settings_.ViewTypeNum, 0);
}

TEST_F(LogBrowserTest, ClickingALeafStoresTheSelectionForTheNextStart) {
  Store(Sjis("ＸＢ０１２.txt"));
  Select(1, 5, 1);
  EXPECT_EQ(settings_.ViewLangNum, 1);
  EXPECT_EQ(settings_.ViewBaseNum, 5);
  EXPECT_EQ(settings_.ViewTypeNum, 1);
  FakeBrowserView restartedView;
  LogBrowser restarted(settings_, clock_, folder_, restartedView, dialogs_);
  restarted.Start();
  EXPECT_EQ(restartedView.selectedNode, Catalogue::TypeNodeIndex(1, 5, 1));
  ASSERT_EQ(restartedView.rows.size(), 1u);
  EXPECT_EQ(restartedView.rows[0].ColumnText(1), Sjis("ＸＢ０１２"));
}

TEST_F(LogBrowserTest, ListIsSortedNewestFirstByDefaultAndByTheStoredSortType) {
  Store("GA01.txt", "2024/03/02 00:00:00");
  Store("GA02.txt", "2024/03/03 00:00:00");
  Store("GA03.txt", "2024/03/01 00:00:00");
  Select(0, 0, 0);
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA02", "GA01", "GA03"}));
  settings_.SortType = 2;
  browser_.RebuildLogTree();
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA01", "GA02", "GA03"}));
}

TEST_F(LogBrowserTest, ColumnClicksReverseTheOrderAndKeepTheSelectedRow) {
  Store("GA01.txt", "2024/03/02 00:00:00");
  Store("GA02.txt", "2024/03/03 00:00:00");
  Store("GA03.txt", "2024/03/01 00:00:00");
  Select(0, 0, 0);
  view_.selected = view_.RowOf("GA01");
  browser_.ColumnClicked(kColumnReceived);
  EXPECT_EQ(settings_.SortType, 1);
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA03", "GA01", "GA02"}));
  EXPECT_EQ(view_.selected, view_.RowOf("GA01"));
  browser_.ColumnClicked(kColumnReceived);
  EXPECT_EQ(settings_.SortType, -1);
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA02", "GA01", "GA03"}));
  browser_.ColumnClicked(kColumnHeader);
  EXPECT_EQ(settings_.SortType, -2);  // GA02 before GA03: not descending, so descending now
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA03", "GA02", "GA01"}));
}

TEST_F(LogBrowserTest, ColumnClickOnOneRowChangesNothing) {
  Store("GA01.txt");
  settings_.SortType = 3;
  Select(0, 0, 0);
  const int updates = view_.listUpdates;
  browser_.ColumnClicked(kColumnReceived);
  EXPECT_EQ(settings_.SortType, 3);
  EXPECT_EQ(view_.listUpdates, updates);
}

TEST_F(LogBrowserTest, ChoosingARowShowsTheStoredBodyOnTabOne) {
  const std::string body = std::string("LINE 1\r\n") + Sjis("那覇") + "\r\n";
  Store("GA12.txt", "2024/03/31 08:09:10", "000", body);
  Select(0, 0, 0);
  browser_.ShowStoredMessage();  // nothing selected
  EXPECT_TRUE(browser_.ShowingReceived());
  view_.selected = 0;
  browser_.ShowStoredMessage();
  EXPECT_FALSE(browser_.ShowingReceived());
  EXPECT_EQ(view_.activeTab, kTabStored);
  EXPECT_EQ(view_.label, Sjis("電文番号：GA12"));
  EXPECT_EQ(browser_.StoredLabel(), view_.label);
  EXPECT_EQ(browser_.StoredText(), body);
  EXPECT_EQ(view_.pane, body + "\r\n");
}

TEST_F(LogBrowserTest, PaneFollowsReceivedTextOnlyOnTabZero) {
  Store("GA12.txt", "2024/03/31 08:09:10", "000", "STORED\r\n");
  Select(0, 0, 0);
  browser_.ReceivedTextChanged("one\r\n");
  EXPECT_EQ(view_.pane, "one\r\n\r\n");
  view_.selected = 0;
  browser_.ShowStoredMessage();
  browser_.ReceivedTextChanged("one\r\ntwo\r\n");
  EXPECT_EQ(view_.pane, "STORED\r\n\r\n");
  browser_.TabChanged(kTabReceived);
  EXPECT_EQ(view_.pane, "one\r\ntwo\r\n\r\n");
  EXPECT_EQ(view_.label, "");
  EXPECT_TRUE(browser_.ShowingReceived());
  browser_.TabChanged(kTabStored);
  EXPECT_EQ(view_.pane, "STORED\r\n\r\n");
  EXPECT_EQ(view_.label, Sjis("電文番号：GA12"));
}

TEST_F(LogBrowserTest, EachReceiversTextFollowsOnlyOnItsOwnTab) {
  Select(0, 0, 0);
  MessageLogListener& second = browser_.SecondReceiver();
  browser_.ReceivedTextChanged("left\r\n");
  second.ReceivedTextChanged("right\r\n");
  EXPECT_EQ(view_.pane, "left\r\n\r\n");
  browser_.TabChanged(kTabReceived2);
  browser_.ReceivedTextChanged("left 2\r\n");
  EXPECT_EQ(view_.pane, "right\r\n\r\n");
  second.ReceivedTextChanged("right 2\r\n");
  EXPECT_EQ(view_.pane, "right 2\r\n\r\n");
  browser_.TabChanged(kTabReceived);
  EXPECT_EQ(view_.pane, "left 2\r\n\r\n");
  // A file the second receiver writes counts in the tree as the first's do.
  Store("GA13.txt");
  second.LogFileCreated();
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "1");
}

TEST_F(LogBrowserTest, RefillLeavesNoRowSelectedAndKeepsThePane) {
  Store("GA12.txt", "2024/03/31 08:09:10", "000", "STORED\r\n");
  Select(0, 0, 0);
  view_.selected = 0;
  browser_.ShowStoredMessage();
  Store("GA13.txt");
  browser_.LogFileCreated();
  EXPECT_EQ(view_.selected, -1);
  EXPECT_EQ(view_.rows.size(), 2u);
  EXPECT_EQ(view_.pane, "STORED\r\n\r\n");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "2");
}

TEST_F(LogBrowserTest, UnreadableOrVanishedRowsShowAnEmptyMessageUnderTheirHeader) {
  std::filesystem::create_directories(logPath_);
  std::filesystem::create_symlink("nowhere", logPath_ / "GA12.txt");
  Store("GA13.txt");
  Select(0, 0, 0);
  view_.selected = view_.RowOf("");
  ASSERT_GE(view_.selected, 0);
  browser_.ShowStoredMessage();
  EXPECT_EQ(view_.label, Sjis("電文番号：GA12"));
  EXPECT_EQ(browser_.StoredText(), "");
  std::filesystem::remove(logPath_ / "GA13.txt");
  view_.selected = view_.RowOf("GA13");
  browser_.ShowStoredMessage();
  EXPECT_EQ(view_.label, Sjis("電文番号：GA13"));
  EXPECT_EQ(view_.pane, "\r\n");
}

TEST_F(LogBrowserTest, DeleteOneAsksAndDeletesTheSelectedLog) {
  Store("GA12.txt", "2024/03/31 08:09:10", "000", "STORED\r\n");
  Store("GA13.txt");
  Select(0, 0, 0);
  browser_.DeleteSelectedMessage();  // nothing selected
  EXPECT_TRUE(dialogs_.calls.empty());

  view_.selected = view_.RowOf("GA12");
  browser_.ShowStoredMessage();
  browser_.TabChanged(kTabReceived);
  view_.selected = view_.RowOf("GA12");
  dialogs_.answer = false;
  browser_.DeleteSelectedMessage();
  EXPECT_TRUE(Exists("GA12.txt"));
  EXPECT_EQ(view_.rows.size(), 2u);
  EXPECT_EQ(browser_.StoredText(), "STORED\r\n");

  dialogs_.answer = true;
  browser_.DeleteSelectedMessage();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"beep", "confirm", "beep", "confirm"}));
  EXPECT_EQ(dialogs_.questions.back(), Sjis("GA12を削除します。\nよろしいですか？"));
  EXPECT_FALSE(Exists("GA12.txt"));
  EXPECT_EQ(Headers(), std::vector<std::string>{"GA13"});
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "1");
  // The pane is emptied even though the received tab is active.
  EXPECT_EQ(view_.pane, "\r\n");
  EXPECT_EQ(view_.label, "");
  EXPECT_EQ(browser_.StoredText(), "");
  EXPECT_EQ(browser_.StoredLabel(), "");
}

// A copy from another system under ".TXT" beside the program's own: deleting the message deletes
// both, or the older would take the deleted one's place in the list.
TEST_F(LogBrowserTest, DeleteOneRemovesEveryCopyOfTheHeader) {
  Store("GA12.txt", "2024/03/31 08:09:10", "000", "NEW\r\n");
  Store("GA12.TXT", "2024/01/01 00:00:00", "003", "OLD\r\n");
  Select(0, 0, 0);
  view_.selected = view_.RowOf("GA12");
  dialogs_.answer = true;
  browser_.DeleteSelectedMessage();
  EXPECT_FALSE(Exists("GA12.txt"));
  EXPECT_FALSE(Exists("GA12.TXT"));
  EXPECT_TRUE(view_.rows.empty());
}

TEST_F(LogBrowserTest, DeleteOneRemovesAnUnreadableRow) {
  std::filesystem::create_directories(logPath_);
  std::filesystem::create_symlink("nowhere", logPath_ / "GA12.txt");
  Select(0, 0, 0);
  view_.selected = 0;
  browser_.DeleteSelectedMessage();
  EXPECT_EQ(dialogs_.questions,
            std::vector<std::string>{Sjis("GA12を削除します。\nよろしいですか？")});
  EXPECT_FALSE(Exists("GA12.txt"));
  EXPECT_TRUE(view_.rows.empty());
}

TEST_F(LogBrowserTest, DeleteOneOfAVanishedFileOnlyRefreshesTheList) {
  Store("GA12.txt");
  Select(0, 0, 0);
  std::filesystem::remove(logPath_ / "GA12.txt");
  view_.selected = 0;
  browser_.DeleteSelectedMessage();
  EXPECT_TRUE(dialogs_.calls.empty());
  EXPECT_TRUE(view_.rows.empty());
}

TEST_F(LogBrowserTest, DeleteAllWithoutASelectedTypeIsAnError) {
  Store("GA12.txt");
  browser_.Start();
  browser_.DeleteAllOfSelection();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"beep", "error"}));
  EXPECT_EQ(dialogs_.errors[0], Sjis("削除するメッセージ種類が選択されていません"));
  EXPECT_TRUE(Exists("GA12.txt"));
}

TEST_F(LogBrowserTest, DeleteAllNamesTheSelectionInItsOwnLanguage) {
  dialogs_.answer = false;
  Select(0, 0, 0);
  browser_.DeleteAllOfSelection();
  Select(1, 0, 0);
  browser_.DeleteAllOfSelection();
  Select(0, 5, 13);
  browser_.DeleteAllOfSelection();
  EXPECT_EQ(dialogs_.questions,
            (std::vector<std::string>{
                Sjis("英文、基地局（Naha）、Navigational warningsの全てのログを削除します\n"
                     "よろしいですか？"),
                Sjis("和文、基地局（那覇）、航行警報の全てのログを削除します\nよろしいですか？"),
                Sjis("英文、基地局（Another）、Otherの全てのログを削除します\n"
                     "よろしいですか？")}));
  EXPECT_EQ(dialogs_.beeps, 3);
}

TEST_F(LogBrowserTest, DeleteAllRemovesOnlyTheSelectedLanguageStationAndType) {
  for (const char* name : {"XA01.txt", "QA02.txt", "GA03.txt", "XB04.txt", "notes.txt"}) {
    Store(name, "2024/03/31 08:09:10", "000", "STORED\r\n");
  }
  Store(Sjis("ＸＡ０１２.txt"));
  Store(Sjis("ＱＡ０１２.txt"));
  Select(0, 5, 0);
  view_.selected = 0;
  browser_.ShowStoredMessage();

  dialogs_.answer = false;
  browser_.DeleteAllOfSelection();
  EXPECT_TRUE(Exists("XA01.txt"));
  EXPECT_EQ(view_.rows.size(), 2u);
  EXPECT_EQ(browser_.StoredText(), "STORED\r\n");

  dialogs_.answer = true;
  browser_.DeleteAllOfSelection();
  EXPECT_FALSE(Exists("XA01.txt"));
  EXPECT_FALSE(Exists("QA02.txt"));
  for (const std::string& kept :
       {std::string("GA03.txt"), std::string("XB04.txt"), std::string("notes.txt"),
        Sjis("ＸＡ０１２.txt"), Sjis("ＱＡ０１２.txt")}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_EQ(Count(Catalogue::LangNodeIndex(0)), "3");
  EXPECT_EQ(view_.pane, "\r\n");
  EXPECT_EQ(browser_.StoredLabel(), "");
}

// unlink asks only the folder; a read-only log stays through every kind of deletion.
TEST_F(LogBrowserTest, ReadOnlyLogsAreNeverDeleted) {
  Store("GA01.txt", "2000/01/01 00:00:00");
  Store("GA02.txt", "2000/01/01 00:00:00");
  Store("GA03.txt", "2000/01/01 00:00:00");
  std::filesystem::permissions(Native("GA01.txt"), std::filesystem::perms(0444));
  Select(0, 0, 0);
  view_.selected = view_.RowOf("GA01");
  browser_.DeleteSelectedMessage();
  EXPECT_TRUE(Exists("GA01.txt"));

  settings_.AutoLogDelete = true;
  clock_.now = {2024, 3, 31, 0, 0, 1};
  std::filesystem::permissions(Native("GA02.txt"), std::filesystem::perms(0400));
  browser_.AutoDeleteLogs();
  EXPECT_TRUE(Exists("GA02.txt"));
  EXPECT_FALSE(Exists("GA03.txt"));

  browser_.DeleteAllOfSelection();
  EXPECT_TRUE(Exists("GA01.txt"));
  EXPECT_TRUE(Exists("GA02.txt"));
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA01", "GA02"}));
}

// GA12.TXT copied from another system beside GA12.txt: one header, shown and counted once.
TEST_F(LogBrowserTest, AHeaderWhoseExtensionDiffersInCaseIsListedOnce) {
  Store("GA12.TXT", "2024/01/01 00:00:00", "003", "COPIED\r\n");
  Store("GA12.txt", "2024/03/31 12:34:56", "000", "RECEIVED\r\n");
  Store("GA13.Txt");
  browser_.Start();
  Select(0, 0, 0);
  EXPECT_EQ(Headers(), (std::vector<std::string>{"GA12", "GA13"}));
  EXPECT_EQ(view_.rows[static_cast<std::size_t>(view_.RowOf("GA12"))].ColumnText(3), "0");
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "2");
}

TEST_F(LogBrowserTest, DeleteAllWithoutAFolderOnlyRebuilds) {
  Select(0, 0, 0);
  view_.pane = "kept";
  browser_.DeleteAllOfSelection();
  EXPECT_EQ(view_.pane, "kept");
  EXPECT_FALSE(folder_.Exists());
  EXPECT_EQ(view_.treeLabels.size(), 182u);
}

class AutoDeleteTest : public LogBrowserTest {
 protected:
  AutoDeleteTest() {
    settings_.AutoLogDelete = true;
    settings_.DeleteDay = 30;
    clock_.now = {2024, 3, 31, 0, 0, 1};
  }
};

TEST_F(AutoDeleteTest, DeletesOnlyFilesDatedStrictlyBeforeTheLimit) {
  Store("GA01.txt", "2024/03/01 00:00:00");  // the limit date itself
  Store("GA02.txt", "2024/03/01 23:59:59");
  Store("GA03.txt", "2024/02/29 23:59:59");  // one day earlier
  Store("GA04.txt", "2023/12/31 12:00:00");
  Store("GA05.txt", "2024/03/31 12:00:00");
  browser_.AutoDeleteLogs();
  EXPECT_TRUE(Exists("GA01.txt"));
  EXPECT_TRUE(Exists("GA02.txt"));
  EXPECT_FALSE(Exists("GA03.txt"));
  EXPECT_FALSE(Exists("GA04.txt"));
  EXPECT_TRUE(Exists("GA05.txt"));
  EXPECT_EQ(Count(Catalogue::LangNodeIndex(0)), "3");
}

// Another process (the command-line tool) files a fresh copy of an old log while the clean-up
// runs: the clean-up must decide on what is stored once that filing is done.
TEST_F(AutoDeleteTest, AFreshCopyFiledByAnotherProcessMeanwhileStays) {
  Store("GA01.txt", "2024/01/01 00:00:00");
  std::optional<FolderLock> filing(std::in_place, logPath_);
  ASSERT_TRUE(filing->Held());
  std::thread cleanUp([&] { browser_.AutoDeleteLogs(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(Exists("GA01.txt")) << "deleted while another process was filing";
  ASSERT_TRUE(folder_.WriteFile("GA01.txt", LogContent("2024/03/31 06:00:00", "000", "NEW\r\n")));
  filing.reset();
  cleanUp.join();
  EXPECT_TRUE(Exists("GA01.txt"));
}

TEST_F(AutoDeleteTest, KeptMessagesSurviveDeletionAndRestartsWithTheirFilesUnchanged) {
  Store("GA03.txt", "2024/02/29 23:59:59");
  Store("GA04.txt", "2023/12/31 12:00:00");
  const std::string before = ReadBytes(Native("GA03.txt"));
  Select(0, 0, 0);
  ASSERT_EQ(Headers(), (std::vector<std::string>{"GA03", "GA04"}));
  view_.selected = 0;
  browser_.ToggleKeepSelected();
  EXPECT_TRUE(view_.rows[0].kept);
  EXPECT_FALSE(view_.rows[1].kept);
  EXPECT_EQ(view_.selected, 0) << "the row stays selected";

  // A new browser on the same folder is the program started again.
  FakeBrowserView otherView;
  LogBrowser restarted{settings_, clock_, folder_, otherView, dialogs_};
  EXPECT_TRUE(restarted.Kept("GA03"));
  restarted.AutoDeleteLogs();
  EXPECT_TRUE(Exists("GA03.txt"));
  EXPECT_FALSE(Exists("GA04.txt"));
  EXPECT_EQ(ReadBytes(Native("GA03.txt")), before) << "the tag is not in the log file";
  EXPECT_EQ(folder_.ListLogFiles().size(), 1u) << "the keep file is not taken for a log";

  view_.selected = 0;
  browser_.ToggleKeepSelected();  // untagged again
  LogBrowser third{settings_, clock_, folder_, otherView, dialogs_};
  EXPECT_FALSE(third.Kept("GA03"));
}

// Deleting a kept message ends its tag; a copy that could not go keeps it.
TEST_F(AutoDeleteTest, DeletingAKeptMessageEndsItsTagSoTheHeadersNextMessageIsNotKept) {
  Store("GA03.txt", "2024/02/29 23:59:59");
  Store("GA04.txt", "2024/02/29 23:59:59");
  Store("GA04.TXT", "2024/02/29 23:59:59");
  ::chmod(Native("GA04.TXT").c_str(), 0444);
  Select(0, 0, 0);
  for (int row : {0, 1}) {
    view_.selected = row;
    browser_.ToggleKeepSelected();
  }
  view_.selected = 0;
  browser_.DeleteSelectedMessage();
  browser_.DeleteAllOfSelection();
  EXPECT_FALSE(browser_.Kept("GA03"));
  EXPECT_TRUE(browser_.Kept("GA04")) << "its read-only copy is still there";
  Store("GA03.txt", "2024/01/01 00:00:00");  // the serial number has come round again
  browser_.AutoDeleteLogs();
  EXPECT_FALSE(Exists("GA03.txt"));
  EXPECT_TRUE(Exists("GA04.TXT"));
}

TEST_F(AutoDeleteTest, KeepThatCannotBeStoredIsReportedAndChangesNothing) {
  Store("GA03.txt", "2024/02/29 23:59:59");
  std::filesystem::create_directories(logPath_ / "keep.lst.new" / "blocked");
  Select(0, 0, 0);
  view_.selected = 0;
  browser_.ToggleKeepSelected();
  EXPECT_FALSE(browser_.Kept("GA03"));
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_NE(dialogs_.errors[0].find("keep.lst"), std::string::npos);
}

// Taken for an empty list, an unreadable keep file would let the clean-up take kept logs and
// the next tag write the earlier ones away.
TEST_F(AutoDeleteTest, AnUnreadableKeepFileStopsTheCleanUpAndTheTagsUntilItCanBeRead) {
  Store("GA03.txt", "2024/02/29 23:59:59");
  Store("GA04.txt", "2023/12/31 12:00:00");
  WriteBytes(logPath_ / "saved.lst", "GA03\n");
  std::filesystem::create_directory(logPath_ / "keep.lst");
  FakeBrowserView otherView;
  LogBrowser restarted{settings_, clock_, folder_, otherView, dialogs_};
  restarted.AutoDeleteLogs();
  restarted.AutoDeleteLogs();
  EXPECT_TRUE(Exists("GA03.txt"));
  EXPECT_TRUE(Exists("GA04.txt"));
  ASSERT_EQ(dialogs_.errors.size(), 1u) << "told once, not at every clean-up";
  EXPECT_NE(dialogs_.errors[0].find("keep.lst"), std::string::npos);

  std::filesystem::remove(logPath_ / "keep.lst");
  ASSERT_EQ(::mkfifo((logPath_ / "keep.lst").c_str(), 0600), 0);  // no list, though writable
  Select(0, 0, 0);
  restarted.Start();
  otherView.selected = 0;
  restarted.ToggleKeepSelected();
  EXPECT_TRUE(std::filesystem::is_fifo(logPath_ / "keep.lst")) << "the unread tags written away";
  EXPECT_EQ(dialogs_.errors.size(), 2u) << "a tag asked for is always answered";

  std::filesystem::remove(logPath_ / "keep.lst");
  std::filesystem::rename(logPath_ / "saved.lst", logPath_ / "keep.lst");
  restarted.AutoDeleteLogs();
  EXPECT_TRUE(Exists("GA03.txt"));
  EXPECT_FALSE(Exists("GA04.txt"));

  // Deleted by hand while the file cannot be read, the kept message loses its tag once it can:
  // the header's next message is not kept unasked.
  std::filesystem::rename(logPath_ / "keep.lst", logPath_ / "saved.lst");
  std::filesystem::create_directory(logPath_ / "keep.lst");
  restarted.Start();
  otherView.selected = 0;
  restarted.DeleteSelectedMessage();
  ASSERT_FALSE(Exists("GA03.txt"));
  std::filesystem::remove(logPath_ / "keep.lst");
  std::filesystem::rename(logPath_ / "saved.lst", logPath_ / "keep.lst");
  Store("GA03.txt", "2023/12/31 12:00:00");
  restarted.AutoDeleteLogs();
  EXPECT_FALSE(Exists("GA03.txt"));
}

TEST_F(AutoDeleteTest, DoesNothingWhenSwitchedOff) {
  settings_.AutoLogDelete = false;
  Store("GA03.txt", "2000/01/01 00:00:00");
  browser_.AutoDeleteLogs();
  EXPECT_TRUE(Exists("GA03.txt"));
  EXPECT_TRUE(view_.treeLabels.empty());
}

TEST_F(AutoDeleteTest, UnreadableFilesGoAndUndatedFilesStay) {
  Store("GA01.txt", "2000/01/01 00:00:00");
  std::filesystem::create_symlink("nowhere", logPath_ / "GA02.txt");
  WriteBytes(logPath_ / "notes.txt", "my own notes, not a log\n");
  WriteBytes(logPath_ / "GA03.txt", "");
  WriteBytes(logPath_ / "GA04.txt", "Last received 2000-01-01 00:00:00\r\n");
  Store("GA05.txt", "1999/12/31 00:00:00");
  std::filesystem::create_directory(logPath_ / "GA06.txt");
  browser_.AutoDeleteLogs();
  EXPECT_FALSE(Exists("GA01.txt"));
  EXPECT_FALSE(Exists("GA02.txt"));
  EXPECT_TRUE(Exists("notes.txt"));
  EXPECT_TRUE(Exists("GA03.txt"));
  EXPECT_TRUE(Exists("GA04.txt"));
  EXPECT_FALSE(Exists("GA05.txt"));
  EXPECT_TRUE(std::filesystem::is_directory(logPath_ / "GA06.txt"));
}

TEST_F(AutoDeleteTest, RebuildsTheTreeOnlyWhenSomethingWasDeleted) {
  Store("GA01.txt", "2024/03/30 00:00:00");
  browser_.AutoDeleteLogs();
  EXPECT_TRUE(view_.treeLabels.empty());
  clock_.now = {2024, 5, 1, 0, 0, 0};
  browser_.AutoDeleteLogs();
  EXPECT_FALSE(Exists("GA01.txt"));
  EXPECT_EQ(Count(0), "0");
}

TEST_F(AutoDeleteTest, KeepTimeBelowOneDayNeverReachesTodaysFiles) {
  settings_.DeleteDay = -5;
  Store("GA01.txt", "2024/03/31 00:00:00");
  Store("GA02.txt", "2024/03/30 00:00:00");
  Store("GA03.txt", "2024/03/29 23:59:59");
  browser_.AutoDeleteLogs();  // kept one day
  EXPECT_TRUE(Exists("GA01.txt"));
  EXPECT_TRUE(Exists("GA02.txt"));
  EXPECT_FALSE(Exists("GA03.txt"));
}

// The message log and the browser wired as the window wires them.
TEST_F(LogBrowserTest, NewMessagesRecountTheTreeAndRefillTheList) {
  FakeStatusView status;
  settings_.DecLang = true;
  MessageLog log(settings_, clock_, folder_, status, dialogs_, &browser_);
  browser_.Start();
  Select(0, 0, 0);
  for (const char* line : {"ZCZC GA12", "BODY", "NNNN"})
    log.AddReceivedLine(line, false);
  EXPECT_EQ(Count(Catalogue::TypeNodeIndex(0, 0, 0)), "1");
  EXPECT_EQ(Headers(), std::vector<std::string>{"GA12"});
  EXPECT_EQ(view_.pane, "ZCZC GA12\r\nBODY\r\nNNNN\r\n\r\n");
  view_.selected = 0;
  browser_.ShowStoredMessage();
  for (const char* line : {"ZCZC GA12", "AGAIN", "NNNN"})
    log.AddReceivedLine(line, false);
  EXPECT_EQ(view_.selected, -1);
  EXPECT_EQ(view_.rows[0].ColumnText(2), "AGAIN");
  EXPECT_EQ(view_.pane, "BODY\r\n\r\n");
}

}  // namespace
}  // namespace seaherald
