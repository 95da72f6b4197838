#pragma once

class QWidget;

namespace seaherald {

// Places `window` so that its outer frame is centred on `owner`'s, halves rounded toward zero.
// Until a window manager has framed `window` (at its first showing) the owner's frame stands in
// for its own; it is centred again whenever the window manager's account of its frame changes,
// until that has settled.
void CentreOver(QWidget& window, const QWidget& owner);

}  // namespace seaherald
