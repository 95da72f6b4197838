#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace seaherald::testsignal {

enum class Language { English, Japanese };

// Which transmission of a character a bit error hits: the first (DX) copy, the repeat five
// positions later (RX), or both alike.
enum class Copy { Dx, Rx, Both };

struct BitError {
  std::size_t textOffset = 0;  // byte of the text whose code is hit (not a shift code before it)
  Copy copy = Copy::Dx;
  int bit = 0;  // index within the character, in the order of sending
};

// One broadcast: phasing, then the text with every character sent twice, then phasing again.
struct Transmission {
  Language language = Language::English;
  std::string text;             // ASCII for English, Shift-JIS for Japanese; lines end with "\r\n"
  double phasingSeconds = 2.0;  // before the text
  double trailingPhasingSeconds = 0.5;  // after the last repeat
  std::vector<BitError> bitErrors;
  // Break the broadcast off just before the first code sent for this text offset: the codes before
  // it have gone out once, and the last two of them never get their repeat.
  std::optional<std::size_t> stopAtTextOffset;
  double silenceBeforeSeconds = 0;
};

// The bits of the broadcast in the order of sending, as the receiver's character decoder takes
// them in with its polarity setting off (English: 1 = upper tone; Japanese: 1 = lower tone).
// Character i of the text goes out in the DX position of pair i and again, as the RX copy, five
// character positions (two and a half pairs) later. Throws std::invalid_argument for text the
// language cannot send and for bit errors that name no character.
std::vector<std::uint8_t> TransmissionBits(const Transmission& transmission);

// Bits of one character of the language, in the order of sending.
int CharacterBitCount(Language language);

}  // namespace seaherald::testsignal
