// A log folder that refuses writes (read-only, or on a full disk) while messages arrive: the user
// is told of each message that could not be filed, the stored logs stay as they were and can
// still be read, and reception goes on and files again once writes succeed.
#include <gmock/gmock.h>

#include <QCoreApplication>

#include "msglog/MessageLog.h"
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

namespace seaherald::faults {
namespace {

using ::testing::UnorderedElementsAre;

// Headers that cannot be filed (a folder holds their name) must not stop reception: the box comes
// after the block handler has returned, and while it is open blocks keep flowing, other headers
// are filed and new failures join that box instead of stacking boxes.
class BlockedHeader : public FaultWindowTest {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(LogPath("GA01.txt"));
    std::filesystem::create_directories(LogPath("GA03.txt"));
  }

  // Receives GA01 without giving the event loop a turn, then lets the box open; while it is
  // open GA02 and GA03 arrive.
  void ReceiveWhileTheBoxIsOpen() {
    const std::vector<StereoFrames> blocks = BroadcastBlocks(kMessage1);
    for (const StereoFrames& block : blocks)
      Window().ProcessWaveBlock(StereoBlock(block));
    EXPECT_TRUE(dialogs_.events.empty()) << "a box was opened inside the block handler";
    dialogs_.whileErrorShown = [this] {
      Receive(kMessage2);
      filedWhileOpen_ = FileBytes(LogPath("GA02.txt"));
      Receive(kMessage3);
    };
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
  }

  std::string filedWhileOpen_;
};

TEST_F(BlockedHeader, ReceptionGoesOnWhileTheBoxIsOpenAndLaterFailuresFollowInOneBox) {
  ReceiveWhileTheBoxIsOpen();
  EXPECT_EQ(filedWhileOpen_, LogFileBytes(clock_.now, kBody2));
  EXPECT_EQ(dialogs_.stackedErrors, 0);
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA01.txt")), "beep",
                                      "error: " + CannotWrite(LogPath("GA03.txt"))}));
  EXPECT_THAT(ListHeaders(), UnorderedElementsAre(QStringLiteral("GA02")));
}

TEST_F(BlockedHeader, FailuresWhileTheBoxIsOpenGoIntoIt) {
  dialogs_.growable = true;
  ReceiveWhileTheBoxIsOpen();
  EXPECT_EQ(filedWhileOpen_, LogFileBytes(clock_.now, kBody2));
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA01.txt")),
                                      "added: " + CannotWrite(LogPath("GA03.txt"))}));
}

TEST_F(BlockedHeader, RepeatedFailuresOfOneHeaderShowOnce) {
  Window();
  const std::vector<StereoFrames> once = BroadcastBlocks(kMessage1);
  for (int time = 0; time < 2; ++time) {
    for (const StereoFrames& block : once)
      Window().ProcessWaveBlock(StereoBlock(block));
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(LogPath("GA01.txt"))}));
  EXPECT_EQ(Window().Log().Counts().writeFailed, 2);
}

}  // namespace
}  // namespace seaherald::faults
