#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace seaherald::test {

using Bits = std::vector<std::uint8_t>;

// Phasing characters of the two modes as transmitted: RX positions carry the first, DX the second.
inline constexpr int EnglishPhasingRx = 120;
inline constexpr int EnglishPhasingDx = 51;
inline constexpr int JapanesePhasingRx = 4;
inline constexpr int JapanesePhasingDx = 25;

// Bits of one character in the order of reception.
Bits EnglishCharacter(int code);
// Data value with the count of its zero bits, or with an explicit check value.
Bits JapaneseCharacter(int data);
Bits JapaneseCharacter(int data, int check);

// Characters in transmission order: phasing pairs (DX, RX) first, then each text character in a
// DX position with its RX copy five positions later, RX positions carrying phasing until the
// first copy is due. Two pairs of phasing follow, which carry the last copies.
std::vector<int> Interleaved(const std::vector<int>& text, int phasingPairs, int phasingDx,
                             int phasingRx);

Bits EnglishBits(const std::vector<int>& characters);
Bits JapaneseBits(const std::vector<int>& characters);

// What the demodulator delivers for logical bits: English takes bits as they are, Japanese
// complemented, and inverted polarity flips either.
Bits Demodulated(Bits logical, bool english, bool inverted);

// English codes for ASCII text with the letters/figures shifts it needs ('\n' becomes CR LF).
std::vector<int> EnglishCodes(std::string_view text);

Bits Concatenated(std::initializer_list<Bits> parts);

}  // namespace seaherald::test
