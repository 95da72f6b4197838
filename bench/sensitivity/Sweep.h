#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/SweepOptions.h"
#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

struct MeasuredPoint {
  SweepPoint point;
  PointResult result;
};

// Every combination of the options' languages, offsets, rate errors and SNR steps, in that
// nesting order (SNR innermost).
std::vector<SweepPoint> PointsOf(const SweepOptions& options);

// Measures every point with `messagesPerPoint` messages. Message m of every point carries the
// same text and the same noise seed, so neighbouring points differ only in their impairment.
// Work is shared among `jobs` threads; `progress` hears the number of messages done so far
// (from the calling thread only).
std::vector<MeasuredPoint> RunSweep(const std::vector<SweepPoint>& points, int messagesPerPoint,
                                    int jobs, ReceiverMode mode,
                                    const std::filesystem::path& scratch,
                                    const std::function<void(int done, int total)>& progress);

}  // namespace seaherald::sensitivity
