// The log folder changed under the running program: the folder removed between or during
// messages, and a log file replaced by a directory.
#include <gmock/gmock.h>

#include <QToolButton>

#include "app/TextTabs.h"
#include "tests/faults/FaultWindow.h"

namespace seaherald::faults {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class LogFolderDisappears : public FaultWindowTest {
 protected:
  void SetUp() override {
    Receive(kMessage1);
    Receive(kMessage2);
    ASSERT_THAT(NamesIn(paths_.logFolder), ElementsAre("GA01.txt", "GA02.txt"));
  }
  void RemoveFolder() { std::filesystem::remove_all(paths_.logFolder); }
};

// Someone else removed the logs; the program has nothing to tell, it files the next message.
TEST_F(LogFolderDisappears, NextMessageMakesTheFolderAgainAndIsFiled) {
  RemoveFolder();
  Receive(kMessage3);
  EXPECT_THAT(NamesIn(paths_.logFolder), ElementsAre("GA03.txt"));
  EXPECT_EQ(FileBytes(LogPath("GA03.txt")), LogFileBytes(clock_.now, kBody3));
  EXPECT_THAT(dialogs_.events, IsEmpty());
  EXPECT_EQ(TreeLabel(0), QStringLiteral("英文 (1)"));
  EXPECT_THAT(ListHeaders(), ElementsAre(QStringLiteral("GA03")));
}

TEST_F(LogFolderDisappears, MessageInProgressIsFiledWhenTheFolderGoesDuringIt) {
  const std::vector<StereoFrames> blocks = BroadcastBlocks(kMessage3);
  const std::size_t half = blocks.size() / 2;
  Feed(blocks, 0, half);
  RemoveFolder();
  Feed(blocks, half, blocks.size());
  EXPECT_EQ(FileBytes(LogPath("GA03.txt")), LogFileBytes(clock_.now, kBody3));
  EXPECT_THAT(dialogs_.events, IsEmpty());
}

TEST_F(LogFolderDisappears, SameHeaderAgainIsFiledAsNew) {
  RemoveFolder();
  Receive(kMessage1Again);
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), LogFileBytes(clock_.now, kBody1Again));
  EXPECT_EQ(TreeLabel(0), QStringLiteral("英文 (1)"));
}

// The list still shows rows of the removed files until the next refresh; using them must neither
// crash nor ask about a file that is not there.
TEST_F(LogFolderDisappears, RowsOfRemovedFilesCanBeClickedAndDeleted) {
  RemoveFolder();
  ClickListRow(0);
  EXPECT_EQ(PaneText().trimmed(), QString()) << "a removed log shows as an empty message";
  Window().Controls().TabControl1->SpeedButton7()->click();  // "１件削除"
  EXPECT_THAT(dialogs_.events, IsEmpty());
  EXPECT_EQ(ListRowCount(), 0);
  EXPECT_EQ(TreeLabel(0), QStringLiteral("英文 (0)"));
  EXPECT_FALSE(std::filesystem::exists(paths_.logFolder)) << "deleting made the folder again";

  Receive(kMessage3);
  EXPECT_THAT(ListHeaders(), ElementsAre(QStringLiteral("GA03")));
}

TEST_F(LogFolderDisappears, AutomaticDeletionAtCloseFindsNoFolder) {
  Window().SettingsRecord().AutoLogDelete = true;
  RemoveFolder();
  Window().close();
  EXPECT_THAT(dialogs_.events, IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(paths_.logFolder));
}

class LogFileBecomesADirectory : public FaultWindowTest {
 protected:
  void SetUp() override {
    Receive(kMessage1);
    Receive(kMessage2);
    stored2_ = FileBytes(LogPath("GA02.txt"));
    ASSERT_EQ(stored2_, LogFileBytes(clock_.now, kBody2));
    // GA01.txt becomes a folder with something of someone's in it.
    std::filesystem::remove(LogPath("GA01.txt"));
    std::filesystem::create_directory(LogPath("GA01.txt"));
    WriteFileBytes(LogPath("GA01.txt") / "note", "kept");
  }
  std::string stored2_;
};

TEST_F(LogFileBecomesADirectory, SameHeaderAgainIsReportedAndNothingIsLost) {
  Receive(kMessage1Again);
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA01.txt"))}));
  ASSERT_TRUE(std::filesystem::is_directory(LogPath("GA01.txt")));
  EXPECT_THAT(NamesIn(LogPath("GA01.txt")), ElementsAre("note"));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt") / "note"), "kept");
  EXPECT_EQ(FileBytes(LogPath("GA02.txt")), stored2_);
  EXPECT_THAT(NamesIn(paths_.logFolder), ElementsAre("GA01.txt", "GA02.txt"))
      << "a temporary file was left";
  EXPECT_TRUE(ReceivedTextHas("FIRST AGAIN 444\r\n"));
}

TEST_F(LogFileBecomesADirectory, TheDirectoryIsNoLogAndLaterMessagesAreFiled) {
  Receive(kMessage1Again);
  Receive(kMessage3);
  EXPECT_EQ(dialogs_.events.size(), 2u);
  EXPECT_EQ(FileBytes(LogPath("GA03.txt")), LogFileBytes(clock_.now, kBody3));
  EXPECT_EQ(TreeLabel(0), QStringLiteral("英文 (2)"));
  EXPECT_THAT(ListHeaders(), UnorderedElementsAre(QStringLiteral("GA02"), QStringLiteral("GA03")));
}

// An empty folder under the name as well: the rename over it must not succeed and swallow it.
TEST_F(LogFileBecomesADirectory, EmptyDirectoryIsNotReplacedEither) {
  std::filesystem::remove_all(LogPath("GA01.txt"));
  std::filesystem::create_directory(LogPath("GA01.txt"));
  Receive(kMessage1Again);
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA01.txt"))}));
  EXPECT_TRUE(std::filesystem::is_directory(LogPath("GA01.txt")));
}

}  // namespace
}  // namespace seaherald::faults
