#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LocalClock.h"
#include "relay/NavtexFrequency.h"

namespace seaherald {

// Longest sentence, from "$" to the line end included.
inline constexpr std::size_t kNrxSentenceLimit = 82;
// Most sentences one message may take (the sentence counts have three digits).
inline constexpr int kNrxMaxSentences = 999;

// One received NAVTEX message as an NRX sentence group carries it.
struct NrxMessage {
  std::string header;  // B1B2B3B4
  NavtexFrequency frequency = NavtexFrequency::k518;
  LocalDateTime utc;  // time of reception in UTC
  std::string text;   // the message body, bytes; line ends and reserved characters are escaped
  int badCharacters = 0;
  // Status A: the message arrived whole, between its header and its end marker; else V.
  bool valid = true;
  int sequence = 0;  // sequential message identifier, 0-99
};

// The sentences of a message: "$CRNRX," then the number of sentences, the sentence number, the
// sequential message identifier, B1B2B3B4, the frequency index, UTC time (hhmmss), day, month,
// year, total characters, bad characters and status (these nine only in the first sentence; empty
// fields in the others), the part of the text, "*", the checksum and CR LF. Each sentence is
// at most kNrxSentenceLimit characters, and an escape "^hh" is never split. A text too long
// for kNrxMaxSentences is cut there and its status is V.
std::vector<std::string> NrxSentences(const NrxMessage& message);

// The text with every character that a sentence cannot carry as itself written "^hh" (two
// upper-case hex digits): the reserved characters $ * , ! \ ^ ~, and everything outside the
// printable range 0x20-0x7E (CR and LF included).
std::string EscapeNmeaText(std::string_view text);

// Two upper-case hex digits: the XOR of every character between "$" and "*".
std::string NmeaChecksum(std::string_view betweenDollarAndStar);

}  // namespace seaherald
