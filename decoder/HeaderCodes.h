#pragma once

#include <bitset>
#include <optional>
#include <string_view>

#include "decoder/CodeTables.h"

namespace seaherald {

// Inside a header only a few codes can come next: B1 and B2 are letters, B3 and B4 figures
// (English); each full-width character is a row-3 value of JIS followed by a letter or, after
// the first two, a digit (Japanese); after the header the line ends. A header read through a
// fade is read and judged among those codes alone, which is what lets it be filed.
struct HeaderPosition {
  bool english = true;
  Shift shift = Shift::Letters;  // English: the shift the next code is read in
  int waitingJisValues = 0;      // Japanese: values of the next character already read
  int waitingJisValue = 0;       // the first of them, when there is one
};

// The codes (English) or values (Japanese) that can come next when `line` ends inside the start
// marker's space, a header or right after it; nothing when it does not.
std::optional<std::bitset<128>> HeaderCodes(std::string_view line, const HeaderPosition& at);

}  // namespace seaherald
