#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

#include "WindowFixture.h"
#include "app/TextTabs.h"

namespace seaherald::test {
namespace {

constexpr int EnglishNahaNavWarnings = 2;
constexpr int EnglishNahaNode = 1;

class DeleteFlowTest : public WindowTest {
 protected:
  void SetUp() override {
    WriteLog("GA01.txt", "2024/03/01 10:20:30", 0, {"ZCZC GA01", "A", "B", "C", "NNNN"});
    WriteLog("GA02.txt", "2024/03/02 10:20:30", 0, {"ZCZC GA02", "A", "B", "C", "NNNN"});
    WriteLog("GB01.txt", "2024/03/02 10:20:30", 0, {"ZCZC GB01", "A", "B", "C", "NNNN"});
    WriteLog("ＧＡ０１.txt", "2024/03/02 10:20:30", 0,
             {"ＺＣＺＣ　ＧＡ０１", "A", "B", "C", "ＮＮＮＮ"});
  }
  void ClickDeleteOne() { ShownWindow().Controls().TabControl1->SpeedButton7()->click(); }
  void ClickDeleteAll() { ShownWindow().Controls().TabControl1->SpeedButton8()->click(); }
};

TEST_F(DeleteFlowTest, DeleteOneAsksFirstAndDeletesOnYes) {
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickListRow(1);  // GA01, the older one
  dialogs_.answers = {true};
  ClickDeleteOne();
  EXPECT_EQ(dialogs_.beeps, 1);
  ASSERT_EQ(dialogs_.confirmations.size(), 1u);
  EXPECT_EQ(dialogs_.confirmations[0], Sjis("GA01を削除します。\nよろしいですか？"));
  EXPECT_FALSE(LogExists("GA01.txt"));
  EXPECT_TRUE(LogExists("GA02.txt"));
  EXPECT_EQ(TreeLabel(EnglishNahaNavWarnings), QStringLiteral("航行警報 (1)"));
  EXPECT_EQ(Window().Controls().ListView1->rowCount(), 1);
  EXPECT_EQ(PaneText(), QStringLiteral("\n"));  // the empty stored text and its line break
  EXPECT_EQ(LabelText(), QString());
}

TEST_F(DeleteFlowTest, DeleteOneAnsweredNoChangesNothing) {
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickListRow(0);
  const QString pane = PaneText();
  dialogs_.answers = {false};
  ClickDeleteOne();
  EXPECT_EQ(dialogs_.confirmations.size(), 1u);
  EXPECT_TRUE(LogExists("GA01.txt"));
  EXPECT_TRUE(LogExists("GA02.txt"));
  EXPECT_EQ(Window().Controls().ListView1->rowCount(), 2);
  EXPECT_EQ(PaneText(), pane);
}

TEST_F(DeleteFlowTest, DeleteOneWithoutARowDoesNothing) {
  ClickTreeNode(EnglishNahaNavWarnings);
  ClickDeleteOne();
  EXPECT_EQ(dialogs_.beeps, 0);
  EXPECT_TRUE(dialogs_.confirmations.empty());
}

TEST_F(DeleteFlowTest, DeleteAllWithoutATypeSelectedShowsTheError) {
  ClickDeleteAll();
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], Sjis("削除するメッセージ種類が選択されていません"));
  EXPECT_TRUE(dialogs_.confirmations.empty());
  EXPECT_TRUE(LogExists("GA01.txt"));
}

TEST_F(DeleteFlowTest, DeleteAllRemovesOnlyTheSelectionOfItsLanguage) {
  ClickTreeNode(EnglishNahaNavWarnings);
  dialogs_.answers = {true};
  ClickDeleteAll();
  EXPECT_EQ(dialogs_.beeps, 1);
  ASSERT_EQ(dialogs_.confirmations.size(), 1u);
  EXPECT_EQ(dialogs_.confirmations[0],
            Sjis("英文、基地局（Naha）、Navigational warningsの全てのログを削除します\n"
                 "よろしいですか？"));
  EXPECT_FALSE(LogExists("GA01.txt"));
  EXPECT_FALSE(LogExists("GA02.txt"));
  EXPECT_TRUE(LogExists("GB01.txt"));
  EXPECT_TRUE(LogExists("ＧＡ０１.txt"));
  EXPECT_EQ(TreeLabel(EnglishNahaNode), QStringLiteral("那覇 (1)"));
  EXPECT_EQ(Window().Controls().ListView1->rowCount(), 0);
}

TEST_F(DeleteFlowTest, DeleteAllInJapaneseNamesTheJapaneseSelection) {
  ClickTreeNode(93);
  dialogs_.answers = {false};
  ClickDeleteAll();
  ASSERT_EQ(dialogs_.confirmations.size(), 1u);
  EXPECT_EQ(dialogs_.confirmations[0],
            Sjis("和文、基地局（那覇）、航行警報の全てのログを削除します\nよろしいですか？"));
  EXPECT_TRUE(LogExists("ＧＡ０１.txt"));
}

}  // namespace
}  // namespace seaherald::test
