#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "msglog/StationList.h"

namespace seaherald {

// The NAVAREA and frequency the user listens to. NAVAREA 0: none chosen, and the catalogue
// names every station as it always has.
struct AreaChoice {
  int navArea = 0;
  std::string kilohertz = "518";

  bool Chosen() const { return navArea > 0; }
};

// The stations of the chosen NAVAREA and frequency, and the names that messages of the English
// service get from them. Messages of the Japanese-language service always keep the catalogue's
// names: that service is broadcast by the Japanese stations alone.
class AreaStations {
 public:
  AreaStations() = default;
  AreaStations(const StationList& list, AreaChoice choice);

  bool Chosen() const { return choice_.Chosen(); }
  const AreaChoice& Choice() const { return choice_; }
  // In letter order, then in the list's order.
  const std::vector<NavtexStation>& Stations() const { return stations_; }

  // Shift-JIS name of the station that sent a message with header letter `b1`, in the catalogue
  // language `nameLang` where the catalogue names it: the area's stations with that letter,
  // joined by " / " when far-apart stations share it; the catalogue's name of every other
  // station when the area has none with that letter.
  std::string NameOf(int lang, std::string_view b1, int nameLang) const;

 private:
  AreaChoice choice_;
  std::vector<NavtexStation> stations_;
};

}  // namespace seaherald
