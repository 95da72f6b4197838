#include "tests/soak/SoakOptions.h"

#include <cmath>
#include <stdexcept>

namespace seaherald::soak {
namespace {

double ParseNumber(const std::string& text, const std::string& option) {
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || !std::isfinite(value)) {
    throw std::invalid_argument(option + ": \"" + text + "\" is not a number");
  }
  return value;
}

}  // namespace

SoakOptions ParseSoakOptions(std::span<const std::string> arguments) {
  SoakOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(option + " needs a value");
      return arguments[++i];
    };
    if (option == "--help" || option == "-h") {
      options.help = true;
    } else if (option == "--hours") {
      options.hours = ParseNumber(value(), option);
      if (options.hours <= 0 || options.hours > 24 * 30) {
        throw std::invalid_argument("--hours: give more than 0 and at most 720");
      }
    } else if (option == "--seed") {
      const double seed = ParseNumber(value(), option);
      if (seed < 0 || seed > 4294967295.0 || seed != std::floor(seed)) {
        throw std::invalid_argument("--seed: give a whole number from 0 to 4294967295");
      }
      options.seed = static_cast<std::uint32_t>(seed);
    } else if (option == "--slack-mib") {
      options.slackMiB = ParseNumber(value(), option);
      if (options.slackMiB < 0) throw std::invalid_argument("--slack-mib: give 0 or more");
    } else if (option == "--memory-report-only") {
      options.memoryReportOnly = true;
    } else if (option == "--keep-folder") {
      options.keepFolder = true;
    } else {
      throw std::invalid_argument("unknown option " + option + " (see --help)");
    }
  }
  return options;
}

std::string SoakUsage() {
  return "Usage: seaherald-soak [options]\n"
         "Plays generated NAVTEX reception (messages in both languages under varied conditions,\n"
         "phasing, hiss, silence, static, dropouts) through the receive path of the main window\n"
         "with automatic log deletion on, the clock running on the audio across midnight, and\n"
         "checks that every message is accounted for, the log folder matches, nothing asks the\n"
         "user, and the resident memory stays flat. Exit status 0 when all holds.\n"
         "  --hours H             simulated hours (default 24)\n"
         "  --seed N              programme seed (default 1)\n"
         "  --slack-mib M         allowed resident growth after warm-up (default 4)\n"
         "  --memory-report-only  report the resident size without judging it (for sanitizer\n"
         "                        builds, whose allocator holds freed memory back)\n"
         "  --keep-folder         leave the log folder behind and print where it is\n";
}

}  // namespace seaherald::soak
