#pragma once

#include <string>
#include <vector>

#include "msglog/AreaStations.h"

namespace seaherald {

// Minutes after midnight UTC of the six daily slots of a station: every B1 letter has a ten-minute
// slot repeated every four hours, A at 00:00, B at 00:10 and so on to X at 03:50.
std::vector<int> SlotMinutesUtc(char letter);

// The chosen area's stations with their slots in UTC and in local time (`utcOffsetMinutes` east
// of UTC): each station's letter and name on a line, its times in fixed columns under it, every
// line short enough for the receive pane of the smallest window. ASCII.
std::string ScheduleText(const AreaStations& area, int utcOffsetMinutes);

}  // namespace seaherald
