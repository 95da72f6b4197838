#pragma once

#include <filesystem>
#include <string>

namespace seaherald {

// Where the window keeps its settings and its logs. The program derives both from its own
// path and the user's folders; tests put them in temporary folders.
struct AppPaths {
  std::filesystem::path settingsFile;
  std::filesystem::path logFolder;
};

AppPaths PathsBesideExecutable(const std::filesystem::path& executable);

// The user's folders as the environment names them (HOME, XDG_CONFIG_HOME, XDG_DATA_HOME);
// empty where unset.
struct UserFolders {
  std::string home;
  std::string configHome;
  std::string dataHome;
};

UserFolders UserFoldersFromEnvironment();

// A settings file or a log folder beside the executable makes a portable copy, and both stay
// there. Otherwise "seaherald/seaherald.ini" in the configuration home and "seaherald/log" in the
// data home (by default ~/.config and ~/.local/share; relative names are ignored). With no usable
// home at all, beside the executable.
AppPaths ChooseAppPaths(const std::filesystem::path& executable, const UserFolders& user);

// Chooses as above and, outside a portable copy, creates the two folders. A folder that cannot be
// made is not reported here: the write that needs it reports the file as before.
AppPaths PrepareAppPaths(const std::filesystem::path& executable, const UserFolders& user);

}  // namespace seaherald
