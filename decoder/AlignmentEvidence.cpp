#include "decoder/AlignmentEvidence.h"

#include <algorithm>

namespace seaherald {
namespace {

// Evidence is summed over about this many recent pairs of an alignment.
constexpr double EvidenceMemory = 8.0;
constexpr double EvidenceDecay = 1.0 - 1.0 / EvidenceMemory;
// However strongly a pair or a stretch of signal speaks against an alignment, a few good pairs
// must be enough to take it up once a station starts there: a strong station of the other
// service, a crash of static or the phasing before the text would otherwise bury it for seconds.
constexpr double PairEvidenceFloor = -AlignmentEvidence::AcquireEvidence;

}  // namespace

void AlignmentEvidence::Clear() {
  for (auto& sums : sums_)
    sums.fill(0);
}

void AlignmentEvidence::Add(int hypothesis, int alignment, double pairEvidence) {
  double& sum = sums_[hypothesis][alignment];
  sum = std::max(EvidenceDecay * sum + std::max(pairEvidence, PairEvidenceFloor), MinimumSum);
}

bool AlignmentEvidence::Acceptable(int hypothesis, int alignment, int pairBits) const {
  const auto& sums = sums_[hypothesis];
  const double here = sums[alignment];
  return here >= AcquireEvidence &&
         here >= *std::max_element(sums.begin(), sums.begin() + pairBits);
}

}  // namespace seaherald
