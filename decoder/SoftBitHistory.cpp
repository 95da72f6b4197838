#include "decoder/SoftBitHistory.h"

#include <cmath>
#include <span>

namespace seaherald {
namespace {

double LogCoshHalf(double value) {
  const double magnitude = std::abs(value);
  return magnitude / 2 + std::log1p(std::exp(-magnitude)) - std::log(2.0);
}

}  // namespace

void SoftBitHistory::Clear() {
  *this = SoftBitHistory();
}

void SoftBitHistory::Push(double softBit) {
  newest_ = (newest_ + Length - 1) % Length;
  soft_[newest_] = soft_[newest_ + Length] = softBit;
  logCosh_[newest_] = logCosh_[newest_ + Length] = LogCoshHalf(softBit);
  ++bitCount_;
}

bool SoftBitHistory::Holds(const SoftCodeBook& book, int back) const {
  return back + book.PairSpan() <= Length && bitCount_ >= back + book.PairSpan();
}

std::array<PairReading, 2> SoftBitHistory::Read(const SoftCodeBook& book, int back,
                                                const std::bitset<128>* allowed,
                                                bool phasing) const {
  const auto span = static_cast<std::size_t>(book.PairSpan());
  const std::span<const double> soft(soft_.data() + newest_ + back, span);
  const std::span<const double> logCosh(logCosh_.data() + newest_ + back, span);
  std::array<PairReading, 2> readings = book.Read(soft, logCosh, allowed, phasing);
  for (PairReading& reading : readings)
    reading.endBit = bitCount_ - back;
  return readings;
}

}  // namespace seaherald
