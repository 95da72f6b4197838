#pragma once

#include <bitset>
#include <optional>
#include <string_view>

#include "decoder/CodeTables.h"

namespace seaherald {

// Parts of a message's start line are fixed: the space after "ZCZC", the figures shift between
// B2 and B3 and the line end after B4 (English); the full-width space, the row (3) of every header
// character and the line end (Japanese). A reading there without a clear lead is read again among
// what can stand there. The header's letters and figures are not fixed: they stay judged against
// every code, since a wrong one files the message under another.
struct LinePosition {
  bool english = true;
  Shift shift = Shift::Letters;    // English: the shift the next code is read in
  int waitingJisValues = 0;        // Japanese: values of the next character already read
  int waitingJisValue = 0;         // the first of them, when there is one
  bool transmissionStart = false;  // phasing began a transmission and its text has not gone far
};

// Whether `line` is empty or a beginning of the start marker's letters, short of all of them.
bool BeforeMarkerEnd(std::string_view line, bool english);

// Whether the next code (English) or value (Japanese) belongs to the header of the start line
// `line` holds: its letters and figures (and the shift between them) are still to come.
bool InHeader(std::string_view line, bool english);

// The codes (English) or values (Japanese) that can come next when `line` ends before a fixed
// part of a start line; nothing anywhere else.
std::optional<std::bitset<128>> StartLineFixedCodes(std::string_view line, const LinePosition& at);

}  // namespace seaherald
