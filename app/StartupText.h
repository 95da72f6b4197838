#pragma once

#include <QString>

#include "msglog/AreaStations.h"

namespace seaherald {

class Translation;

// What the text pane shows until it is first refilled: the version line and the broadcast
// schedule of the five Japanese stations (JST), fields separated by single tabs, in the window's
// language.
// With an area chosen, the schedule of its stations instead, in UTC and local time, followed by
// that of the second receiver's stations when it is tuned to another frequency.
QString StartupText(const Translation& text, const AreaStations& area = {},
                    const AreaStations& secondArea = {});

}  // namespace seaherald
