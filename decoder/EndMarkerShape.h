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
// The full-width marker can also come out paired one value late, after the line end before it was
// read as a value: then the line's first `textBytes` are text that ended before the marker, and
// the marker is the rest of the line.
struct EndMarkerRepair {
  std::size_t tailBytes = 0;
  std::string text;
  std::size_t textBytes = 0;
};

// How to make `line` the end marker as its line ends or sync is lost; nothing when it is not an
// end marker with a letter lost.
std::optional<EndMarkerRepair> RepairEndMarker(std::string_view line, const UnsureBytes& unsure,
                                               bool english);

}  // namespace seaherald
