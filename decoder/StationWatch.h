#pragma once

#include "decoder/SoftCodeBook.h"

namespace seaherald {

// Keeping sync: tells a pair that carries the station from one that may be noise alone, and a
// station's end from a fade. Under fading both copies of a character now and then lie in a fade
// together; under slow fading (a tenth of a hertz) the station is back within two or three
// seconds. Only an absence that lasts longer ends it.
class StationWatch {
 public:
  // Signal in which no pair carries the station for this long has ended (bits). Held longer, sync
  // carries the text on through a slow fade where letting go cut the line and lost the characters
  // until sync was found again; the station's real end is noticed that much later.
  static constexpr int GoneBits = 300;
  static constexpr int LongAbsenceBits = 150;

  // A pair that noise alone could have given: read without a clear choice and fitting a code
  // word of `book` little better than random bits.
  static bool Weak(const PairReading& reading, const SoftCodeBook& book);

  // Counts the pair just read in sync.
  void Count(bool weak, int pairBits);
  bool Gone() const { return weakBits_ >= GoneBits; }
  // Absent for so long that a signal heard now may as well be another broadcast starting: the
  // station's return must show in the sync evidence.
  bool LongAbsent() const { return weakBits_ >= LongAbsenceBits; }
  void Restart() { weakBits_ = 0; }

 private:
  int weakBits_ = 0;  // since the last pair that carried the station
};

}  // namespace seaherald
