#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "bench/sensitivity/NoiseRun.h"

namespace seaherald::sensitivity {

// The definitions and one row per path and kind of noise: lines handed over, characters in
// them, messages filed.
void WriteNoiseReport(std::ostream& out, const std::vector<NoiseOutcome>& outcomes,
                      const std::string& commandLine, double seconds);

}  // namespace seaherald::sensitivity
