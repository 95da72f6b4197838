#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/SweepOptions.h"
#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

struct MeasuredPoint {
  SweepPoint point;
  std::array<PointResult, BothPaths.size()> results;  // by PathIndex; empty for a path not run
};

// The impairments of a run, each on an otherwise clean signal, in the order reported: on tune,
// every non-zero offset, every non-zero rate error, fading, crashes (those the options name).
std::vector<SweepPoint> ImpairmentsOf(const SweepOptions& options);

// Every language, impairment and SNR step, in that nesting order (SNR innermost).
std::vector<SweepPoint> PointsOf(const SweepOptions& options);

// How each message is received: the receiver's mode, the seed of message 0 (message m gets
// firstSeed + m), and whether a clean copy is filed before the impaired repeat.
struct ReceptionSetup {
  ReceiverMode mode = ReceiverMode::Automatic;
  std::uint32_t firstSeed = DefaultFirstSeed;
  bool cleanFirst = false;
};

// Measures every point with `messagesPerPoint` messages on each of `paths`. Message m of every
// point carries the same text and the same seed, so neighbouring points differ only in their
// impairment; the paths get the very same audio. Work is shared among `jobs` threads;
// `progress` hears the number of messages done so far (from the calling thread only).
std::vector<MeasuredPoint> RunSweep(const std::vector<SweepPoint>& points, int messagesPerPoint,
                                    const std::vector<ReceivePath>& paths, int jobs,
                                    const ReceptionSetup& setup,
                                    const std::filesystem::path& scratch,
                                    const std::function<void(int done, int total)>& progress);

}  // namespace seaherald::sensitivity
