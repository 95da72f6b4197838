#pragma once

#include <array>

namespace seaherald {

// Sync search: for each service and polarity, the evidence that a pair of that service ends at
// each bit of its pair length, summed over recent pairs. Sync is taken where the sum is strong
// and the strongest, so it is found where single bits are often wrong.
class AlignmentEvidence {
 public:
  static constexpr int Hypotheses = 4;  // service x polarity
  static constexpr int MaxPairBits = 20;
  // Summed evidence an alignment needs before sync is taken on it (nats).
  static constexpr double AcquireEvidence = 12.0;
  // No sum falls below this however much speaks against its alignment.
  static constexpr double MinimumSum = -2 * AcquireEvidence;

  void Clear();
  void Add(int hypothesis, int alignment, double pairEvidence);
  double At(int hypothesis, int alignment) const { return sums_[hypothesis][alignment]; }
  // The alignment has enough evidence and more than any other of its hypothesis.
  bool Acceptable(int hypothesis, int alignment, int pairBits) const;

 private:
  std::array<std::array<double, MaxPairBits>, Hypotheses> sums_{};
};

}  // namespace seaherald
