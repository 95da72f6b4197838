#pragma once

#include <string>
#include <vector>

#include "tests/support/Transmission.h"

namespace seaherald::sensitivity {

// Phasing before the text: stations send at least ten seconds.
inline constexpr double MessagePhasingSeconds = 10.0;

// One message of the sweep: its broadcast and the lines the receiver should hand over.
struct SweepMessage {
  testsignal::Transmission broadcast;
  std::string header;              // Shift-JIS, as the log file is named
  std::vector<std::string> lines;  // every line of the text, markers included
  std::vector<std::string> body;   // the lines between the start and end markers
};

// Message `index` of a language: a NAVTEX-like warning of four or five lines whose header and
// choice of lines follow from the index, so consecutive indexes give different texts. English
// messages run about 190 characters, Japanese ones about 75 (each sent character takes 0.14 s in
// English and 0.2 s in Japanese).
SweepMessage MakeSweepMessage(testsignal::Language language, int index);

}  // namespace seaherald::sensitivity
