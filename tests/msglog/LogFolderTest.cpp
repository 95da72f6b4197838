#include "msglog/LogFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "MsglogFakes.h"

namespace seaherald {
namespace {

using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::Sjis;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> SortedNames(const std::vector<LogEntry>& entries) {
  std::vector<std::string> names;
  for (const LogEntry& entry : entries)
    names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class LogFolderTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  std::filesystem::path logPath_ = temp_.Path() / "log";
  LogFolder folder_{logPath_};
};

TEST_F(LogFolderTest, FirstWriteCreatesTheFolderAndStoresTheExactBytes) {
  EXPECT_FALSE(folder_.Exists());
  const std::string content = std::string("Last\r\n\0\x82\xff\r\n", 11);
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", content));
  EXPECT_TRUE(folder_.Exists());
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"), content);
  EXPECT_EQ(EntriesOf(logPath_), std::vector<std::string>{"GA12.txt"});
}

TEST_F(LogFolderTest, ReplacingAFileLeavesOnlyTheNewContent) {
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", std::string(500, 'a')));
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", "short"));
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"), "short");
  EXPECT_EQ(EntriesOf(logPath_), std::vector<std::string>{"GA12.txt"});
}

// A log kept elsewhere and linked into the folder stays linked: the write goes to the file the
// link leads to, and a read-only one is refused there as here.
TEST_F(LogFolderTest, ALinkIsWrittenThroughAndStaysALink) {
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", "old"));
  std::filesystem::rename(logPath_ / "GA12.txt", temp_.Path() / "elsewhere.txt");
  std::filesystem::create_symlink(temp_.Path() / "elsewhere.txt", logPath_ / "GA12.txt");
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(logPath_ / "GA12.txt"));
  EXPECT_EQ(ReadBytes(temp_.Path() / "elsewhere.txt"), "new");
  EXPECT_EQ(EntriesOf(logPath_), std::vector<std::string>{"GA12.txt"});
  std::filesystem::permissions(temp_.Path() / "elsewhere.txt", std::filesystem::perms(0444));
  EXPECT_TRUE(folder_.IsReadOnly(logPath_ / "GA12.txt"));
  EXPECT_FALSE(folder_.WriteFile("GA12.txt", "newer"));
  EXPECT_EQ(ReadBytes(temp_.Path() / "elsewhere.txt"), "new");
}

TEST_F(LogFolderTest, JapaneseNamesAreUtf8OnDiskAndShiftJisInside) {
  const std::string name = Sjis("ＧＡ１２３.txt");
  ASSERT_TRUE(folder_.WriteFile(name, "x"));
  EXPECT_TRUE(std::filesystem::exists(logPath_ / "ＧＡ１２３.txt"));
  const std::vector<LogEntry> entries = folder_.ListLogFiles();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, name);
  EXPECT_EQ(entries[0].path, (logPath_ / "ＧＡ１２３.txt").native());
}

TEST_F(LogFolderTest, ListingKeepsOnlyFilesThatCanBeLogs) {
  std::filesystem::create_directory(logPath_);
  WriteBytes(logPath_ / "GA12.txt", "x");
  WriteBytes(logPath_ / "GB12.TXT", "x");
  WriteBytes(logPath_ / "notes.txt", "x");
  WriteBytes(logPath_ / "GC12.log", "x");
  WriteBytes(logPath_ / "txt", "x");
  WriteBytes(logPath_ / "\xff\xfe.txt", "x");  // not UTF-8
  WriteBytes(logPath_ / "😀.txt", "x");         // no Shift-JIS form
  std::filesystem::create_directory(logPath_ / "GD12.txt");
  ASSERT_EQ(::mkfifo((logPath_ / "GE12.txt").c_str(), 0600), 0);
  std::filesystem::create_symlink("nowhere", logPath_ / "GF12.txt");
  std::filesystem::create_symlink("GA12.txt", logPath_ / "GG12.txt");
  std::filesystem::create_symlink("GD12.txt", logPath_ / "GH12.txt");
  EXPECT_EQ(
      SortedNames(folder_.ListLogFiles()),
      (std::vector<std::string>{"GA12.txt", "GB12.TXT", "GF12.txt", "GG12.txt", "notes.txt"}));
}

TEST_F(LogFolderTest, MissingFolderListsNothing) {
  EXPECT_TRUE(folder_.ListLogFiles().empty());
  WriteBytes(logPath_, "a file where the folder should be");
  EXPECT_FALSE(folder_.Exists());
  EXPECT_TRUE(folder_.ListLogFiles().empty());
}

TEST_F(LogFolderTest, NamesWithoutAPlainFileFormHaveNoPath) {
  EXPECT_FALSE(folder_.PathOf("a/b.txt"));
  EXPECT_FALSE(folder_.PathOf(".."));
  EXPECT_FALSE(folder_.PathOf("GA1\x82.txt"));
  EXPECT_EQ(folder_.PathOf("GA12.txt"), logPath_ / "GA12.txt");
}

TEST_F(LogFolderTest, WriteFailsWhenTheFolderCannotExist) {
  WriteBytes(logPath_, "a file where the folder should be");
  EXPECT_FALSE(folder_.WriteFile("GA12.txt", "x"));
  EXPECT_EQ(ReadBytes(logPath_), "a file where the folder should be");
}

TEST_F(LogFolderTest, WriteFailsOverADirectoryAndLeavesNoTemporaryFile) {
  std::filesystem::create_directories(logPath_ / "GA12.txt");
  WriteBytes(logPath_ / "GA12.txt" / "inside", "kept");
  EXPECT_FALSE(folder_.WriteFile("GA12.txt", "x"));
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt" / "inside"), "kept");
  EXPECT_EQ(EntriesOf(logPath_), std::vector<std::string>{"GA12.txt"});
}

TEST_F(LogFolderTest, ShortWriteKeepsTheOldFileWhole) {
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", "old content"));
  {
    const FileSizeLimit limit(4);
    EXPECT_FALSE(folder_.WriteFile("GA12.txt", "new content that does not fit"));
  }
  EXPECT_EQ(ReadBytes(logPath_ / "GA12.txt"), "old content");
  EXPECT_EQ(EntriesOf(logPath_), std::vector<std::string>{"GA12.txt"});
}

TEST_F(LogFolderTest, RemovesFilesAndLinksButNeverDirectories) {
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", "x"));
  std::filesystem::create_symlink("nowhere", logPath_ / "GB12.txt");
  std::filesystem::create_directory(logPath_ / "GC12.txt");
  EXPECT_TRUE(folder_.RemoveFile(logPath_ / "GA12.txt"));
  EXPECT_TRUE(folder_.RemoveFile(logPath_ / "GB12.txt"));
  EXPECT_FALSE(folder_.RemoveFile(logPath_ / "GC12.txt"));
  EXPECT_FALSE(folder_.RemoveFile(logPath_ / "missing.txt"));
  EXPECT_EQ(EntriesOf(logPath_), std::vector<std::string>{"GC12.txt"});
}

TEST_F(LogFolderTest, DisplayPathIsShiftJis) {
  EXPECT_EQ(folder_.DisplayPath(std::filesystem::path("/x/ログ/ＧＡ１２３.txt")),
            std::string("/x/") + Sjis("ログ/ＧＡ１２３.txt"));
}

}  // namespace
}  // namespace seaherald
