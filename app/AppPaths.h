#pragma once

#include <filesystem>

namespace seaherald {

// Where the window keeps its settings and its logs. The program derives both from its own
// path; tests put them in temporary folders.
struct AppPaths {
  std::filesystem::path settingsFile;
  std::filesystem::path logFolder;
};

AppPaths PathsBesideExecutable(const std::filesystem::path& executable);

}  // namespace seaherald
