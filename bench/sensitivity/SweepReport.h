#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "bench/sensitivity/Sweep.h"
#include "bench/sensitivity/SweepOptions.h"

namespace seaherald::sensitivity {

// Where decoding falls off along the SNR steps of one language and impairment.
struct FallOff {
  // The lowest SNR from which on (at it and every step above) every message was filed and the
  // character error rate stayed below 1 %; empty when no step qualifies.
  std::optional<double> cleanFromDb;
  // The lowest SNR from which on at least half of the messages were filed.
  std::optional<double> halfFiledFromDb;
};

// `steps`: the points of one language and impairment, in rising SNR.
FallOff FindFallOff(const std::vector<MeasuredPoint>& steps);

// The definitions, one row per point, and the fall-off of every language and impairment.
void WriteSweepReport(std::ostream& out, const SweepOptions& options,
                      const std::vector<MeasuredPoint>& measured, double seconds);

}  // namespace seaherald::sensitivity
