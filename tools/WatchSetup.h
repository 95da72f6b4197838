#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "msglog/Watch.h"

namespace seaherald::decodetool {

// The watch the settings ask for. With a NAVAREA chosen the station list is read from
// `stationList`, else from the user's or the installed copy found from `executable`; throws
// InputError when it cannot be read or the area has no station on the chosen frequency.
Watch WatchFromSettings(const Settings& settings, const std::optional<std::string>& stationList,
                        const std::filesystem::path& executable);

// The local time's offset from UTC now, in minutes east.
int LocalUtcOffsetMinutes();

}  // namespace seaherald::decodetool
