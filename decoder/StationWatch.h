#pragma once

#include "decoder/SoftCodeBook.h"

namespace seaherald {

// Keeping sync: tells a pair that carries the station from one that may be noise alone, and a
// station's end from a fade. Under fading both copies of a character now and then lie in a fade
// together; the station is back within a second or so. Only an absence that lasts ends it.
class StationWatch {
 public:
  // Signal in which no pair carries the station for this long has ended (bits).
  static constexpr int GoneBits = 150;

  // A pair that noise alone could have given: read without a clear choice and fitting a code
  // word of `book` little better than random bits.
  static bool Weak(const PairReading& reading, const SoftCodeBook& book);

  // Counts the pair just read in sync.
  void Count(bool weak, int pairBits);
  bool Gone() const { return weakBits_ >= GoneBits; }
  void Restart() { weakBits_ = 0; }

 private:
  int weakBits_ = 0;  // since the last pair that carried the station
};

}  // namespace seaherald
