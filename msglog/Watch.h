#pragma once

#include <filesystem>
#include <string>
#include <variant>

#include "app/Settings.h"
#include "msglog/AreaStations.h"
#include "msglog/MessageSelection.h"

namespace seaherald {

// What the user keeps watch for: the area whose stations name the messages, the stations and
// types taken, and the types beyond search and rescue that raise the alarm.
struct Watch {
  AreaStations area;
  MessageSelection selection;
  std::string alarmTypes;
};

// The watch the settings ask for. The station list file is read only when a NAVAREA is chosen;
// what is wrong with it, or an area without a station on the chosen frequency, is the error.
std::variant<Watch, std::string> WatchForSettings(const Settings& settings,
                                                  const std::filesystem::path& stationListFile);

}  // namespace seaherald
