#pragma once

#include <array>
#include <cstdint>

namespace seaherald {

// Converts a JIS X 0208 pair (two 7-bit values, row byte first) to its two Shift-JIS bytes. For
// values 33..126 this is the standard mapping; any other 7-bit pair goes through the same
// arithmetic without a range check, as the received data may hold anything.
std::array<std::uint8_t, 2> JisToShiftJis(int first, int second);

}  // namespace seaherald
