// Where the window keeps its settings and logs: beside the program for a portable copy, in the
// user's configuration and data folders otherwise.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppPaths.h"
#include "tests/settings/TempFolder.h"

namespace seaherald {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::WriteBytes;

class AppPathsTest : public ::testing::Test {
 protected:
  AppPathsTest() { fs::create_directories(bin()); }
  fs::path bin() const { return dir_ / "bin"; }
  fs::path executable() const { return bin() / "seaherald"; }
  UserFolders user() const {
    return {(dir_ / "home").string(), (dir_ / "config").string(), (dir_ / "data").string()};
  }

  TempFolder dir_;
};

TEST_F(AppPathsTest, SettingsFileOrLogFolderBesideTheProgramKeepsBothThere) {
  WriteBytes(bin() / "seaherald.ini", "[Wave]\r\nCentF=60\r\n");
  AppPaths paths = PrepareAppPaths(executable(), user());
  EXPECT_EQ(paths.settingsFile, bin() / "seaherald.ini");
  EXPECT_EQ(paths.logFolder, bin() / "log");
  // As before, the log folder is made by the first message, and the user's folders stay alone.
  EXPECT_FALSE(fs::exists(bin() / "log"));
  EXPECT_FALSE(fs::exists(dir_ / "config"));
  EXPECT_FALSE(fs::exists(dir_ / "data"));

  fs::remove(bin() / "seaherald.ini");
  fs::create_directory(bin() / "log");
  paths = PrepareAppPaths(executable(), user());
  EXPECT_EQ(paths.settingsFile, bin() / "seaherald.ini");
  EXPECT_EQ(paths.logFolder, bin() / "log");
  EXPECT_FALSE(fs::exists(dir_ / "config"));
}

TEST_F(AppPathsTest, OtherwiseTheUsersFoldersAreUsedAndMade) {
  // A plain file called "log" is no log folder.
  WriteBytes(bin() / "log", "");
  const AppPaths paths = PrepareAppPaths(executable(), user());
  EXPECT_EQ(paths.settingsFile, dir_ / "config" / "seaherald" / "seaherald.ini");
  EXPECT_EQ(paths.logFolder, dir_ / "data" / "seaherald" / "log");
  EXPECT_TRUE(fs::is_directory(dir_ / "config" / "seaherald"));
  EXPECT_TRUE(fs::is_directory(paths.logFolder));
  EXPECT_FALSE(fs::exists(paths.settingsFile));  // written at the first close
  EXPECT_FALSE(fs::exists(bin() / "seaherald.ini"));
}

TEST_F(AppPathsTest, UnsetOrRelativeFoldersFallBackToTheHomeFolder) {
  const fs::path home = dir_ / "home";
  for (const UserFolders& folders :
       {UserFolders{home.string(), "", ""}, UserFolders{home.string(), "config", "./data"}}) {
    const AppPaths paths = PrepareAppPaths(executable(), folders);
    EXPECT_EQ(paths.settingsFile, home / ".config" / "seaherald" / "seaherald.ini");
    EXPECT_EQ(paths.logFolder, home / ".local" / "share" / "seaherald" / "log");
    EXPECT_TRUE(fs::is_directory(paths.logFolder));
  }
  // Nowhere else to go: beside the program, as before.
  const AppPaths homeless = ChooseAppPaths(executable(), UserFolders{"", "", ""});
  EXPECT_EQ(homeless.settingsFile, bin() / "seaherald.ini");
  EXPECT_EQ(homeless.logFolder, bin() / "log");
}

TEST_F(AppPathsTest, AFolderThatCannotBeMadeIsLeftToTheWriteToReport) {
  WriteBytes(dir_ / "config", "a file where the folder should be");
  AppPaths paths;
  ASSERT_NO_THROW(paths = PrepareAppPaths(executable(), user()));
  EXPECT_EQ(paths.settingsFile, dir_ / "config" / "seaherald" / "seaherald.ini");
  EXPECT_TRUE(fs::is_regular_file(dir_ / "config"));
  EXPECT_TRUE(fs::is_directory(dir_ / "data" / "seaherald" / "log"));
}

}  // namespace
}  // namespace seaherald
