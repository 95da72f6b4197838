#pragma once

#include <bitset>
#include <cstdint>
#include <span>

#include "decoder/SoftCodeBook.h"

namespace seaherald {

// Japanese text is JIS X 0208 characters of two values each, with line controls between them.
// Which half the next value is decides what it may be read as, and must survive what the code
// handler does not see: values held back unprinted, and sync lost and found again.
class JapanesePairing {
 public:
  static bool IsControl(int value);
  // The values that can stand as the first or the second half of a character; line controls
  // stand only between characters.
  static const std::bitset<128>& Allowed(bool firstHalf);
  // Whether the next value begins a character, with `waiting` values of a character in the code
  // handler and the held readings after them.
  static bool NextIsFirstHalf(int waiting, std::span<const PairReading> held);

  // Sync was lost on this hypothesis, the value ending at `atBit` the first not handed over and
  // `waiting` values of a character pending before it.
  void Lost(std::int64_t atBit, int hypothesis, int waiting);
  void Forget() { lostAtBit_ = -1; }
  // When sync returns on the alignment it was lost on (give or take a slipped bit), the pairs in
  // between tell whether the value at `atBit` completes a character whose first half was lost;
  // joining it to the next value would garble the rest of the line.
  bool SecondHalfOfLostPair(int hypothesis, std::int64_t atBit, int pairBits) const;

 private:
  std::int64_t lostAtBit_ = -1;
  int lostHypothesis_ = 0;
  int lostWaiting_ = 0;
};

}  // namespace seaherald
