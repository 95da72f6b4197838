#pragma once

#include <QString>

namespace seaherald {

class Translation;

// What the text pane shows until it is first refilled: the version line and the broadcast
// schedule of the five Japanese stations (JST), fields separated by single tabs, in the window's
// language.
QString StartupText(const Translation& text);

}  // namespace seaherald
