#include "msglog/AreaStations.h"

#include <algorithm>

#include "msglog/Catalogue.h"

namespace seaherald {

AreaStations::AreaStations(const StationList& list, AreaChoice choice)
    : choice_(std::move(choice)) {
  for (const NavtexStation& station : list.stations) {
    if (station.navArea == choice_.navArea && station.kilohertz == choice_.kilohertz)
      stations_.push_back(station);
  }
  std::stable_sort(stations_.begin(), stations_.end(),
                   [](const auto& a, const auto& b) { return a.letter < b.letter; });
}

std::string AreaStations::NameOf(int lang, std::string_view b1, int nameLang) const {
  if (!Chosen() || lang != 0) {
    return Catalogue::BaseName(nameLang, Catalogue::BaseOfLetter(lang, b1));
  }
  std::string names;
  for (const NavtexStation& station : stations_) {
    if (b1.size() != 1 || station.letter != b1[0]) continue;
    if (!names.empty()) names += " / ";
    names += station.name;
  }
  return names.empty() ? Catalogue::BaseName(nameLang, kOtherBase) : names;
}

}  // namespace seaherald
