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

// `steps`: the points of one language and impairment, in rising SNR; the figures of `path`.
FallOff FindFallOff(const std::vector<MeasuredPoint>& steps, ReceivePath path);

// The definitions; the on-tune table of every language with the paths side by side; one row per
// point with the paths side by side; the fall-off of every language, impairment and path.
void WriteSweepReport(std::ostream& out, const SweepOptions& options,
                      const std::vector<MeasuredPoint>& measured, double seconds);

// Only the on-tune table, for the README: one row per SNR step, for every language the character
// error rate and the messages filed of every path.
void WriteOnTuneTable(std::ostream& out, const SweepOptions& options,
                      const std::vector<MeasuredPoint>& measured);

// Only the integrity counts, one row per point and a total: messages filed, log files under a
// header not sent, and (with --clean-first) stored copies made worse, every path side by side.
void WriteIntegrityTable(std::ostream& out, const SweepOptions& options,
                         const std::vector<MeasuredPoint>& measured);

}  // namespace seaherald::sensitivity
