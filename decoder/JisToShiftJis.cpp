#include "decoder/JisToShiftJis.h"

namespace seaherald {

std::array<std::uint8_t, 2> JisToShiftJis(int first, int second) {
  int lead;
  int trail;
  if (first % 2 != 0) {
    lead = (first + 1) / 2 + 112;
    trail = second + 31;
  } else {
    lead = first / 2 + 112;
    trail = second + 125;
  }
  if (lead >= 160) lead += 64;
  if (trail >= 127) trail += 1;
  return {static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
}

}  // namespace seaherald
