#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "decoder/SoftCodeBook.h"

namespace seaherald {

// The soft bits of the last seconds of signal, newest first, from which character pairs are
// read at any distance back.
class SoftBitHistory {
 public:
  // Enough to read again every pair held back through a fade.
  static constexpr int Length = 512;

  void Clear();
  void Push(double softBit);
  std::int64_t BitCount() const { return bitCount_; }

  // Whether the pair of `book` that ends `back` bits before the newest bit is still held.
  bool Holds(const SoftCodeBook& book, int back) const;
  // Readings of that pair, as given and inverted; requires Holds(book, back).
  std::array<PairReading, 2> Read(const SoftCodeBook& book, int back,
                                  const std::bitset<128>* allowed = nullptr,
                                  bool phasing = true) const;

 private:
  std::array<double, 2 * Length> soft_{};  // each value twice, so windows are contiguous
  std::array<double, 2 * Length> logCosh_{};
  int newest_ = 0;
  std::int64_t bitCount_ = 0;
};

}  // namespace seaherald
