#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "decoder/LineSink.h"

namespace seaherald {

// The end marker "NNNN" ends a transmission, often where the station fades or goes off the air,
// so it is the line most often lost in part: a letter misread, or the last one gone with the
// station. Four letters of which three are the marker's and the fourth was read unsure, or three
// of the marker's letters when sync is lost for good, can be nothing else: no text line looks
// like either. The repair puts the marker's letters back from `tailBytes` before the line's end.
struct EndMarkerRepair {
  std::size_t tailBytes = 0;
  std::string text;
};

// How to make `line` the end marker as its line ends or sync is lost; nothing when it is not an
// end marker with a letter lost.
std::optional<EndMarkerRepair> RepairEndMarker(std::string_view line, const UnsureBytes& unsure,
                                               bool english);

}  // namespace seaherald
