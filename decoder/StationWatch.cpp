#include "decoder/StationWatch.h"

namespace seaherald {
namespace {

// The soft values of noise alone are bounded by the least amplitude the demodulator gives a
// station, so noise gives a pair neither half the evidence a pair can carry nor a lead of more
// than about 5 nats. A station at -8 dB gives one or the other, even with one copy in a fade.
constexpr double WeakEvidenceShare = 0.5;
constexpr double WeakMargin = 6.0;

}  // namespace

bool StationWatch::Weak(const PairReading& reading, const SoftCodeBook& book) {
  return reading.evidence < WeakEvidenceShare * book.FullEvidence() && reading.margin < WeakMargin;
}

void StationWatch::Count(bool weak, int pairBits) {
  weakBits_ = weak ? weakBits_ + pairBits : 0;
}

}  // namespace seaherald
