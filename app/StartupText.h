#pragma once

#include <QString>

namespace seaherald {

// What the text pane shows until it is first refilled: the version line and the broadcast
// schedule of the five Japanese stations (JST), fields separated by single tabs.
QString StartupText();

}  // namespace seaherald
