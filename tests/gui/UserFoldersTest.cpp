// The window over the folders chosen at start when nothing lies beside the program: its settings
// go to the user's configuration folder and come back from there, and a settings folder that
// cannot be made is reported at closing like any settings file that cannot be written.
#include <filesystem>
#include <fstream>

#include "app/AppPaths.h"
#include "app/SettingsFile.h"
#include "tests/gui/WindowFixture.h"

namespace seaherald::test {
namespace {

namespace fs = std::filesystem;

class UserFoldersTest : public WindowTest {
 protected:
  void StartFromUsersFolders() {
    fs::create_directories(dir_ / "bin");
    const UserFolders user{(dir_ / "home").string(), (dir_ / "config").string(),
                           (dir_ / "data").string()};
    paths_ = PrepareAppPaths(dir_ / "bin" / "seaherald", user);
  }
};

TEST_F(UserFoldersTest, SettingsAreKeptInTheUsersFolderFromOneStartToTheNext) {
  StartFromUsersFolders();
  ShownWindow().SettingsRecord().CentF = 55;
  window_->close();
  EXPECT_TRUE(dialogs_.errors.empty());
  EXPECT_EQ(LoadSettings(dir_ / "config" / "seaherald" / "seaherald.ini").CentF, 55);
  EXPECT_FALSE(fs::exists(dir_ / "bin" / "seaherald.ini"));

  window_.reset();
  StartFromUsersFolders();
  EXPECT_EQ(Window().SettingsRecord().CentF, 55);
}

TEST_F(UserFoldersTest, SettingsFolderThatCannotBeMadeIsReportedAtClosing) {
  std::ofstream(dir_ / "config") << "a file where the folder should be";
  StartFromUsersFolders();
  ShownWindow();
  window_->close();
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], CannotWriteMessageFor(paths_.settingsFile));
  EXPECT_NE(paths_.settingsFile.string().find("/config/seaherald/seaherald.ini"),
            std::string::npos);
  EXPECT_EQ(dialogs_.beeps, 1);
}

}  // namespace
}  // namespace seaherald::test
