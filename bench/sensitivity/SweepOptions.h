#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/support/Transmission.h"

namespace seaherald::sensitivity {

struct SweepOptions {
  std::vector<testsignal::Language> languages{testsignal::Language::English,
                                              testsignal::Language::Japanese};
  std::vector<double> snrDb;  // in the order measured
  std::vector<double> offsetsHz{0.0, -5.0, 5.0, -10.0, 10.0};
  std::vector<double> rateErrors{0.0, -0.003, 0.003};  // relative
  int messagesPerPoint = 10;
  int jobs = 0;                // worker threads; 0: one per processor
  bool fixedLanguage = false;  // receiver set to the language sent, automatic mode off
  bool help = false;
};

// The SNR steps of a full run and of --quick.
std::vector<double> DefaultSnrSteps();
std::vector<double> QuickSnrSteps();

// Reads the command line (without the program name). Throws std::invalid_argument with a
// message for the user on anything it does not understand.
SweepOptions ParseSweepOptions(std::span<const std::string> arguments);

std::string SweepUsage();

}  // namespace seaherald::sensitivity
