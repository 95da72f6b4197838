// A settings file that cannot be written when the window closes. The window tells the user with
// the file's path and still closes: keeping it open would only let the same write fail again,
// and a user who cannot free the disk would have no way to end the program. The old file stays
// whole, so the next start finds the settings as they were last saved.
#include <gmock/gmock.h>

#include "app/SettingsFile.h"
#include "tests/faults/FaultWindow.h"
#include "tests/faults/WriteFault.h"

namespace seaherald::faults {
namespace {

using ::testing::ElementsAre;

// Settings as a user left them, with a line of their own that a save must keep.
constexpr std::string_view kOldSettings =
    "; written by hand\r\n"
    "[Disp]\r\nViewLangNum=0\r\nViewBaseNum=0\r\nViewTypeNum=0\r\n"
    "[Set]\r\nAutoSet=0\r\nDecLang=1\r\nDecInv=0\r\nTimeOut=45\r\n"
    "[Wave]\r\nCentF=80\r\n";

// The whole folder of the program (settings file and log folder) refuses writes.
class SettingsFileRefusesWrites : public FaultWindowTest,
                                  public ::testing::WithParamInterface<WriteFaultKind> {
 protected:
  void SetUp() override {
    fault_ = std::make_unique<WriteFault>(GetParam(), dir_);
    if (const auto problem = fault_->Prepare()) GTEST_SKIP() << *problem;
    WriteFileBytes(paths_.settingsFile, kOldSettings);
    Receive(kMessage1);
    ASSERT_EQ(FileBytes(LogPath("GA01.txt")), LogFileBytes(clock_.now, kBody1));
    // Changes made while running, which the failed save cannot keep.
    Window().SettingsRecord().CentF = 50;
    Window().SettingsRecord().TimeOut = 90;
  }
  void TearDown() override { fault_.reset(); }

  void CloseWhileFaulty() {
    fault_->Begin();
    Window().close();
    fault_->End();
  }

  std::unique_ptr<WriteFault> fault_;
};

TEST_P(SettingsFileRefusesWrites, ClosingTellsTheUserWithThePath) {
  CloseWhileFaulty();
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(paths_.settingsFile)}));
}

TEST_P(SettingsFileRefusesWrites, OldFileStaysWholeAndNothingIsLeftBeside) {
  CloseWhileFaulty();
  EXPECT_EQ(FileBytes(paths_.settingsFile), kOldSettings);
  EXPECT_THAT(NamesIn(dir_), ElementsAre("log", "seaherald.ini"));
  EXPECT_EQ(FileBytes(LogPath("GA01.txt")), LogFileBytes(clock_.now, kBody1));
  const Settings next = LoadSettings(paths_.settingsFile);
  EXPECT_EQ(next.CentF, 80);
  EXPECT_EQ(next.TimeOut, 45);
}

TEST_P(SettingsFileRefusesWrites, WindowStillCloses) {
  CloseWhileFaulty();
  EXPECT_FALSE(Window().isVisible());
}

TEST_P(SettingsFileRefusesWrites, SavedAsUsualOnceWritesSucceed) {
  CloseWhileFaulty();
  // The program started again on the same folder and closed with the disk writable.
  window_.reset();
  dialogs_.events.clear();
  Window().SettingsRecord().CentF = 60;
  Window().close();
  EXPECT_TRUE(dialogs_.events.empty());
  const std::string saved = FileBytes(paths_.settingsFile);
  EXPECT_EQ(saved.rfind("; written by hand\r\n", 0), 0u) << saved;
  EXPECT_EQ(LoadSettings(paths_.settingsFile).CentF, 60);
  EXPECT_EQ(LoadSettings(paths_.settingsFile).TimeOut, 45);
}

// The file itself made read-only in a folder that is writable: its mode is the user's wish to
// keep it. Replacing it by a rename would go round that mode, so the save must refuse like a
// write into the file would, and say so.
class ReadOnlySettingsFile : public FaultWindowTest {
 protected:
  void SetUp() override {
    if (const auto problem = OrdinaryUserFileAccess::Problem()) GTEST_SKIP() << *problem;
    WriteFileBytes(paths_.settingsFile, kOldSettings);
    std::filesystem::permissions(paths_.settingsFile, std::filesystem::perms(0444));
    std::filesystem::permissions(dir_, std::filesystem::perms(0777));
    Window().SettingsRecord().CentF = 50;
  }
};

TEST_F(ReadOnlySettingsFile, IsKeptAndTheUserIsTold) {
  {
    const OrdinaryUserFileAccess user;
    Window().close();
  }
  EXPECT_EQ(dialogs_.events,
            (std::vector<std::string>{"beep", "error: " + CannotWrite(paths_.settingsFile)}));
  EXPECT_EQ(FileBytes(paths_.settingsFile), kOldSettings);
  EXPECT_EQ(std::filesystem::status(paths_.settingsFile).permissions(),
            std::filesystem::perms(0444));
  EXPECT_THAT(NamesIn(dir_), ElementsAre("seaherald.ini"));
  EXPECT_FALSE(Window().isVisible());
}

// An installed copy: the folder refuses new files, the settings file itself may be written. No
// temporary file can stand beside it, so the save rewrites the file where it is.
class WritableSettingsInReadOnlyFolder : public FaultWindowTest {
 protected:
  void SetUp() override {
    if (const auto problem = OrdinaryUserFileAccess::Problem()) GTEST_SKIP() << *problem;
    WriteFileBytes(paths_.settingsFile, kOldSettings);
    std::filesystem::permissions(paths_.settingsFile, std::filesystem::perms(0666));
    Window().SettingsRecord().CentF = 50;
    std::filesystem::permissions(dir_, std::filesystem::perms(0555));
  }
  void TearDown() override { std::filesystem::permissions(dir_, std::filesystem::perms(0755)); }
};

TEST_F(WritableSettingsInReadOnlyFolder, IsRewrittenInPlace) {
  {
    const OrdinaryUserFileAccess user;
    Window().close();
  }
  EXPECT_TRUE(dialogs_.events.empty());
  const std::string saved = FileBytes(paths_.settingsFile);
  EXPECT_EQ(saved.rfind("; written by hand\r\n", 0), 0u) << saved;
  EXPECT_EQ(LoadSettings(paths_.settingsFile).CentF, 50);
  EXPECT_EQ(LoadSettings(paths_.settingsFile).TimeOut, 45);
  EXPECT_THAT(NamesIn(dir_), ElementsAre("seaherald.ini"));
  EXPECT_EQ(std::filesystem::status(paths_.settingsFile).permissions(),
            std::filesystem::perms(0666));
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsFileRefusesWrites,
                         ::testing::Values(WriteFaultKind::ReadOnlyFolder,
                                           WriteFaultKind::ReadOnlyMount, WriteFaultKind::FullDisk,
                                           WriteFaultKind::FileSizeLimit),
                         [](const auto& info) { return KindName(info.param); });

}  // namespace
}  // namespace seaherald::faults
