// A log folder that refuses writes (read-only, or on a full disk) while messages arrive: the user
// is told of each message that could not be filed, the stored logs stay as they were and can
// still be read, and reception goes on and files again once writes succeed.
#include <gmock/gmock.h>

#include "tests/faults/FaultWindow.h"
#include "tests/faults/WriteFault.h"

namespace seaherald::faults {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class LogFolderRefusesWrites : public FaultWindowTest,
                               public ::testing::WithParamInterface<WriteFaultKind> {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(paths_.logFolder);
    fault_ = std::make_unique<WriteFault>(GetParam(), paths_.logFolder);
    if (const auto problem = fault_->Prepare()) GTEST_SKIP() << *problem;
    Receive(kMessage1);
    ASSERT_EQ(FileBytes(LogPath("GA01.txt")), LogFileBytes(clock_.now, kBody1))
        << "the first message was not filed before the fault";
    stored_ = FileBytes(LogPath("GA01.txt"));
  }
  void TearDown() override { fault_.reset(); }

  std::unique_ptr<WriteFault> fault_;
  std::string stored_;
};

TEST_P(LogFolderRefusesWrites, NewMessageIsReportedAndStoredLogsStayWhole) {
  fault_->Begin();
  Receive(kMessage2);
  const bool stillShown = Window().isVisible();
  fault_->End();

  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA02.txt"))}));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), stored_);
  EXPECT_THAT(NamesIn(paths_.logFolder), ElementsAre("GA01.txt")) << "a temporary file was left";
  EXPECT_TRUE(stillShown);
  // The message is not lost from sight: the received pane holds it.
  EXPECT_TRUE(ReceivedTextHas("SECOND MESSAGE 222\r\n"));
  EXPECT_EQ(TreeLabel(0), QStringLiteral("英文 (1)"));
  EXPECT_THAT(ListHeaders(), ElementsAre(QStringLiteral("GA01")));
}

TEST_P(LogFolderRefusesWrites, StoredLogsCanBeReadWhileWritesFail) {
  fault_->Begin();
  Receive(kMessage2);
  ClickListRow(0);
  const QString shown = PaneText();
  fault_->End();
  EXPECT_EQ(shown, QStringLiteral("FIRST MESSAGE 111\n\n"));  // the pane adds a line break
}

TEST_P(LogFolderRefusesWrites, FailedReplacementKeepsTheStoredCopy) {
  fault_->Begin();
  Receive(kMessage1Again);  // as few errors as the stored copy: it would replace it
  fault_->End();

  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA01.txt"))}));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), stored_);
  EXPECT_THAT(NamesIn(paths_.logFolder), ElementsAre("GA01.txt"));

  // Once writes succeed the same header replaces the copy as usual.
  Receive(kMessage1Again);
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), LogFileBytes(clock_.now, kBody1Again));
  EXPECT_EQ(dialogs_.events.size(), 2u);
}

TEST_P(LogFolderRefusesWrites, ReceptionGoesOnAndFilesOnceWritesSucceed) {
  fault_->Begin();
  Receive(kMessage2);
  fault_->End();
  Receive(kMessage3);

  EXPECT_EQ(dialogs_.events.size(), 2u) << "only the refused message is reported";
  EXPECT_EQ(FileBytes(LogPath("GA03.txt")), LogFileBytes(clock_.now, kBody3));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), stored_);
  EXPECT_FALSE(std::filesystem::exists(LogPath("GA02.txt")));
  EXPECT_EQ(TreeLabel(0), QStringLiteral("英文 (2)"));
  EXPECT_THAT(ListHeaders(), UnorderedElementsAre(QStringLiteral("GA01"), QStringLiteral("GA03")));
}

TEST_P(LogFolderRefusesWrites, EveryRefusedMessageIsReported) {
  fault_->Begin();
  Receive(kMessage2);
  Receive(kMessage3);
  fault_->End();
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA02.txt")), "beep",
                                      "error: " + CannotWrite(LogPath("GA03.txt"))}));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), stored_);
}

INSTANTIATE_TEST_SUITE_P(Faults, LogFolderRefusesWrites,
                         ::testing::Values(WriteFaultKind::ReadOnlyFolder,
                                           WriteFaultKind::ReadOnlyMount, WriteFaultKind::FullDisk,
                                           WriteFaultKind::FileSizeLimit),
                         [](const auto& info) { return KindName(info.param); });

}  // namespace
}  // namespace seaherald::faults
