#include "tools/WatchSetup.h"

#include <ctime>
#include <variant>

#include "app/AppPaths.h"
#include "tools/BlockSource.h"

namespace seaherald::decodetool {

Watch WatchFromSettings(const Settings& settings, const std::optional<std::string>& stationList,
                        const std::filesystem::path& executable) {
  std::filesystem::path file;
  if (stationList) {
    file = *stationList;
  } else if (settings.NavArea > 0) {
    const AppPaths paths = ChooseAppPaths(executable, UserFoldersFromEnvironment());
    file = FindStationListFile(paths.settingsFile.parent_path(),
                               InstalledStationListFiles(executable));
  }
  auto watch = WatchForSettings(settings, file);
  if (auto* problem = std::get_if<std::string>(&watch)) {
    throw InputError(*problem + (file.empty() ? " (give one with --station-list)" : ""));
  }
  return std::get<Watch>(std::move(watch));
}

int LocalUtcOffsetMinutes() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<int>(local.tm_gmtoff / 60);
}

}  // namespace seaherald::decodetool
