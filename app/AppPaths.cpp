#include "app/AppPaths.h"

#include "app/SettingsFile.h"

namespace seaherald {

AppPaths PathsBesideExecutable(const std::filesystem::path& executable) {
  return AppPaths{SettingsPathFor(executable), LogFolderFor(executable)};
}

}  // namespace seaherald
