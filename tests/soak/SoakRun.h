#pragma once

#include <ostream>

#include "tests/soak/SoakOptions.h"

namespace seaherald::soak {

// Runs the soak as the options say, writing progress and the final report to `out`. Returns
// true when every check held.
bool RunSoak(const SoakOptions& options, std::ostream& out);

}  // namespace seaherald::soak
