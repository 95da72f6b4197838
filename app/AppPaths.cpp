#include "app/AppPaths.h"

#include <cstdlib>

#include "app/SettingsFile.h"

namespace seaherald {
namespace {

constexpr const char* FolderName = "seaherald";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// A base folder named by the environment, or `fallback` under the home folder; empty when neither
// is an absolute path.
std::filesystem::path BaseFolder(const std::string& named, const UserFolders& user,
                                 const char* fallback) {
  const std::filesystem::path path(named);
  if (path.is_absolute()) return path;
  const std::filesystem::path home(user.home);
  if (home.is_absolute()) return home / fallback;
  return {};
}

bool IsPortableCopy(const AppPaths& beside) {
  std::error_code ignored;
  return std::filesystem::exists(beside.settingsFile, ignored) ||
         std::filesystem::is_directory(beside.logFolder, ignored);
}

}  // namespace

AppPaths PathsBesideExecutable(const std::filesystem::path& executable) {
  return AppPaths{SettingsPathFor(executable), LogFolderFor(executable)};
}

UserFolders UserFoldersFromEnvironment() {
  return UserFolders{Variable("HOME"), Variable("XDG_CONFIG_HOME"), Variable("XDG_DATA_HOME")};
}

AppPaths ChooseAppPaths(const std::filesystem::path& executable, const UserFolders& user) {
  AppPaths beside = PathsBesideExecutable(executable);
  if (IsPortableCopy(beside)) return beside;
  const std::filesystem::path config = BaseFolder(user.configHome, user, ".config");
  const std::filesystem::path data = BaseFolder(user.dataHome, user, ".local/share");
  if (config.empty() || data.empty()) return beside;
  return AppPaths{config / FolderName / "seaherald.ini", data / FolderName / "log"};
}

AppPaths PrepareAppPaths(const std::filesystem::path& executable, const UserFolders& user) {
  AppPaths paths = ChooseAppPaths(executable, user);
  // Beside the program the log folder is still made by the first message, as it always was.
  if (paths.logFolder == LogFolderFor(executable)) return paths;
  std::error_code ignored;
  std::filesystem::create_directories(paths.settingsFile.parent_path(), ignored);
  std::filesystem::create_directories(paths.logFolder, ignored);
  return paths;
}

}  // namespace seaherald
