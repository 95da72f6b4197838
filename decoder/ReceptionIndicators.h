#pragma once

namespace seaherald {

// Owned by the block handler; the decoder only resets or sets them on reception events.
struct ReceptionIndicators {
  int LedCount = 5;                 // blocks since a bit was processed in character sync
  bool CharSeenThisSecond = false;  // character sync held at some bit of this second
  int IdleSeconds = 0;              // seconds without reception
};

}  // namespace seaherald
