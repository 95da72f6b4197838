#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace seaherald::soak {

struct SoakOptions {
  double hours = 24.0;  // simulated hours of audio
  std::uint32_t seed = 1;
  double slackMiB = 4.0;          // allowed growth of the resident size after warm-up
  bool memoryReportOnly = false;  // report the resident size without judging it
  bool keepFolder = false;        // leave the log folder behind and name it
  bool help = false;
};

// Reads the command line (without the program name). Throws std::invalid_argument with a
// message for the user on anything it does not understand.
SoakOptions ParseSoakOptions(std::span<const std::string> arguments);

std::string SoakUsage();

}  // namespace seaherald::soak
