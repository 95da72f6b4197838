#pragma once

#include <array>
#include <span>

#include "decoder/SoftCodeBook.h"

namespace seaherald {

// Pairs read in sync whose text is not printed yet: after phasing, until a few characters in a
// row confirm that text has begun; in a fade, until the station is heard again. Dropped when
// neither comes.
class HeldReadings {
 public:
  // A fade up to the end of a station (StationWatch::GoneBits, 22 English pairs), and the
  // confirmation after phasing, in English pairs.
  static constexpr int Capacity = 32;

  // Requires !Full().
  void Push(const PairReading& reading) { readings_[static_cast<std::size_t>(count_++)] = reading; }
  bool Full() const { return count_ == Capacity; }
  void Clear() { count_ = 0; }
  std::span<const PairReading> Readings() const {
    return std::span<const PairReading>(readings_.data(), static_cast<std::size_t>(count_));
  }

 private:
  std::array<PairReading, Capacity> readings_{};
  int count_ = 0;
};

}  // namespace seaherald
