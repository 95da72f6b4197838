#include "msglog/Watch.h"

namespace seaherald {

std::variant<Watch, std::string> WatchForSettings(const Settings& settings,
                                                  const std::filesystem::path& stationListFile) {
  Watch watch;
  watch.selection = {ParseLetterSet(settings.Stations).value_or(""),
                     ParseLetterSet(settings.Types).value_or("")};
  watch.alarmTypes = ParseLetterSet(settings.AlarmTypes).value_or("");
  if (settings.NavArea <= 0) return watch;
  if (stationListFile.empty()) return std::string("no NAVTEX station list found");
  auto loaded = LoadStationList(stationListFile);
  if (auto* problem = std::get_if<std::string>(&loaded)) return *problem;
  watch.area = AreaStations(std::get<StationList>(loaded), {settings.NavArea, settings.NavFreq});
  if (watch.area.Stations().empty()) {
    return "the station list has no station of NAVAREA " + NavAreaNumeral(settings.NavArea) +
           " on " + settings.NavFreq + " kHz";
  }
  return watch;
}

}  // namespace seaherald
