#include <gtest/gtest.h>
#include <filesystem>

#include "platform/ProfileFile.h"
#include "tests/settings/FileSizeLimit.h"
#include "tests/settings/TempFolder.h"

namespace seaherald {
namespace {

using namespace std::string_literals;
using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::size_t EntryCount(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
    ++count;
  return count;
}

TEST(ProfileFileLoad, MissingFileIsEmptyAndNotAnError) {
  TempFolder folder;
  const ProfileLoadResult result = LoadProfile(folder / "none.ini");
  EXPECT_FALSE(result.exists);
  EXPECT_FALSE(result.readable);
  EXPECT_EQ(result.document.Bytes(), "");
}

TEST(ProfileFileLoad, DirectoryExistsButIsUnreadable) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "a.ini");
  const ProfileLoadResult result = LoadProfile(folder / "a.ini");
  EXPECT_TRUE(result.exists);
  EXPECT_FALSE(result.readable);
  EXPECT_EQ(ReadProfileString(folder / "a.ini", "Set", "TimeOut", "dflt"), "dflt");
}

TEST(ProfileFileLoad, ReadsBytesExactly) {
  TempFolder folder;
  const std::string bytes = "[Set]\r\nName=\x83\x5C\0x\r\n"s;
  WriteBytes(folder / "a.ini", bytes);
  const ProfileLoadResult result = LoadProfile(folder / "a.ini");
  EXPECT_TRUE(result.readable);
  EXPECT_EQ(result.document.Bytes(), bytes);
  EXPECT_EQ(ReadProfileString(folder / "a.ini", "set", "name", "dflt"), "\x83\x5C");
  EXPECT_EQ(ReadProfileString(folder / "a.ini", "Set", "Other", "dflt"), "dflt");
}

TEST(ProfileFileWrite, SingleKeyWritesCreateThenUpdateTheFile) {
  TempFolder folder;
  const auto path = folder / "a.ini";
  ASSERT_TRUE(WriteProfileString(path, "Form", "MainTop", "1").ok());
  ASSERT_TRUE(WriteProfileString(path, "Set", "TimeOut", "30").ok());
  ASSERT_TRUE(WriteProfileString(path, "form", "maintop", "2").ok());
  EXPECT_EQ(ReadBytes(path), "[Form]\r\nMainTop=2\r\n\r\n[Set]\r\nTimeOut=30\r\n");
  EXPECT_EQ(EntryCount(folder.path()), 1u) << "no temporary file may stay behind";
}

TEST(ProfileFileWrite, KeepsPermissionBitsOfTheOldFile) {
  TempFolder folder;
  const auto path = folder / "a.ini";
  WriteBytes(path, "[Set]\n");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  ASSERT_TRUE(WriteProfileString(path, "Set", "A", "1").ok());
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
}

TEST(ProfileFileWrite, FollowsASymbolicLinkInsteadOfReplacingIt) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "real");
  WriteBytes(folder / "real" / "a.ini", "[Set]\nA=1\n");
  std::filesystem::create_symlink("real/a.ini", folder / "link.ini");
  ASSERT_TRUE(WriteProfileString(folder / "link.ini", "Set", "A", "2").ok());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
  EXPECT_EQ(ReadBytes(folder / "real" / "a.ini"), "[Set]\nA=2\n");
}

TEST(ProfileFileWriteFailure, ParentIsARegularFile) {
  TempFolder folder;
  WriteBytes(folder / "plain", "not a folder");
  const ProfileWriteResult result = WriteProfileString(folder / "plain" / "a.ini", "S", "k", "v");
  EXPECT_EQ(result.failedStep, ProfileWriteStep::CreateTemp);
  EXPECT_EQ(result.error, ENOTDIR);
  EXPECT_FALSE(result.Describe().empty());
  EXPECT_EQ(ReadBytes(folder / "plain"), "not a folder");
}

TEST(ProfileFileWriteFailure, TargetIsADirectory) {
  TempFolder folder;
  const auto path = folder / "a.ini";
  std::filesystem::create_directory(path);
  WriteBytes(path / "inside", "x");

  EXPECT_EQ(WriteProfileString(path, "S", "k", "v").failedStep, ProfileWriteStep::ReadExisting);

  ProfileDocument document;
  ASSERT_TRUE(document.Set("S", "k", "v"));
  const ProfileWriteResult replaced = SaveProfile(path, document);
  EXPECT_EQ(replaced.failedStep, ProfileWriteStep::Replace);
  EXPECT_NE(replaced.error, 0);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(ReadBytes(path / "inside"), "x");
  EXPECT_EQ(EntryCount(folder.path()), 1u) << "the temporary file must be removed";
}

TEST(ProfileFileWriteFailure, FailedWriteLeavesTheOldFileWhole) {
  TempFolder folder;
  const auto path = folder / "a.ini";
  const std::string old = "[Set]\r\nTimeOut=30\r\n";
  WriteBytes(path, old);
  ProfileWriteResult result;
  {
    const FileSizeLimit limit(64);
    result = WriteProfileString(path, "Set", "FontName", std::string(200, 'F'));
  }
  EXPECT_EQ(result.failedStep, ProfileWriteStep::WriteTemp);
  EXPECT_EQ(result.error, EFBIG);
  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(EntryCount(folder.path()), 1u);
}

TEST(ProfileFileWriteFailure, InvalidValueChangesNothing) {
  TempFolder folder;
  const auto path = folder / "a.ini";
  WriteBytes(path, "[S]\nk=1\n");
  EXPECT_EQ(WriteProfileString(path, "S", "k", "a\nb").failedStep, ProfileWriteStep::InvalidText);
  EXPECT_EQ(ReadBytes(path), "[S]\nk=1\n");
}

}  // namespace
}  // namespace seaherald
