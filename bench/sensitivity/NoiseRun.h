#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "bench/sensitivity/SweepOptions.h"
#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

// What one receive path made of a stretch of noise with nothing sent.
struct NoiseOutcome {
  ReceivePath path = ReceivePath::Standard;
  std::optional<CrashModel> crashes;
  double hours = 0.0;
  int lines = 0;        // lines handed over
  int cutLines = 0;     // of them, cut short
  long characters = 0;  // in those lines, line ends not counted
  int filed = 0;        // log files written
  std::uint64_t audioDigest = 0;
};

// The noise runs' seed for a run whose messages start at `firstSeed`, far from the messages'.
constexpr std::uint32_t NoiseSeedFor(std::uint32_t firstSeed) {
  return firstSeed + 89000;
}

// Feeds `hours` of white Gaussian noise held at the AGC level (and crashes on top, when given),
// seeded by `seed`, through one continuous receiving window with the program's default settings
// and a fresh log folder under `scratch`. The folder is removed afterwards.
NoiseOutcome ReceiveNoise(double hours, const std::optional<CrashModel>& crashes, ReceivePath path,
                          std::uint32_t seed, const std::filesystem::path& scratch);

// ReceiveNoise for every path, on plain noise and, when `crashes` is given, on noise with
// crashes; every path hears the same noise. Shared among `jobs` threads; `progress` hears the
// number of runs done.
std::vector<NoiseOutcome> RunNoise(double hours, const std::vector<ReceivePath>& paths,
                                   const std::optional<CrashModel>& crashes, int jobs,
                                   const std::filesystem::path& scratch,
                                   const std::function<void(int done, int total)>& progress,
                                   std::uint32_t seed = NoiseSeedFor(DefaultFirstSeed));

}  // namespace seaherald::sensitivity
