#pragma once

#include <QFont>
#include <QString>

namespace seaherald {

// Windows face names the settings may hold, mapped to installed faces with Japanese glyphs so
// that the stored names keep working and are written back unchanged. Call once after the
// application object exists.
void InstallFontSubstitutes();

// The toolkit font of the window's controls (Tahoma 8 point, 11 pixels high).
QFont ControlFont();
// A font given by pixel height, such as the views' 12-pixel start-up font.
QFont PixelFont(const QString& face, int pixels);

}  // namespace seaherald
