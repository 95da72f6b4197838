#include "bench/sensitivity/SweepOptions.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace seaherald::sensitivity {
namespace {

using testsignal::Language;

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

std::vector<double> ParseList(const std::string& text, const std::string& option) {
  std::vector<double> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::size_t stop = comma == std::string::npos ? text.size() : comma;
    values.push_back(ParseNumber(text.substr(start, stop - start), option));
    start = stop + 1;
  }
  return values;
}

// "a:b:step" (inclusive) or "a,b,c".
std::vector<double> ParseSnrSteps(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return ParseList(text, "--snr");
  const std::size_t second = text.find(':', colon + 1);
  if (second == std::string::npos) throw std::invalid_argument("--snr: give FROM:TO:STEP");
  const double from = ParseNumber(text.substr(0, colon), "--snr");
  const double to = ParseNumber(text.substr(colon + 1, second - colon - 1), "--snr");
  const double step = ParseNumber(text.substr(second + 1), "--snr");
  if (step <= 0 || to < from || (to - from) / step > 200) {
    throw std::invalid_argument("--snr: FROM:TO:STEP needs FROM <= TO and at most 200 steps");
  }
  std::vector<double> steps;
  for (int i = 0; from + i * step <= to + step * 1e-9; ++i)
    steps.push_back(from + i * step);
  return steps;
}

std::vector<Language> ParseLanguages(const std::string& text) {
  if (text == "english") return {Language::English};
  if (text == "japanese") return {Language::Japanese};
  if (text == "both") return {Language::English, Language::Japanese};
  throw std::invalid_argument("--language: use english, japanese or both");
}

int ParseCount(const std::string& text, const std::string& option, int lowest, int highest) {
  const double value = ParseNumber(text, option);
  if (value != std::floor(value) || value < lowest || value > highest) {
    throw std::invalid_argument(option + ": give a whole number from " + std::to_string(lowest) +
                                " to " + std::to_string(highest));
  }
  return static_cast<int>(value);
}

}  // namespace

std::vector<double> DefaultSnrSteps() {
  return {-4, -2, 0, 1, 2, 3, 4, 5, 6, 8, 10};
}

std::vector<double> QuickSnrSteps() {
  return {-4, -2, 0, 2, 4, 8};
}

SweepOptions ParseSweepOptions(std::span<const std::string> arguments) {
  SweepOptions options;
  bool quick = false;
  std::optional<std::vector<double>> snr;
  std::optional<int> messages;
  std::optional<std::vector<double>> offsets;
  std::optional<std::vector<double>> rates;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(option + " needs a value");
      return arguments[++i];
    };
    if (option == "--help" || option == "-h") {
      options.help = true;
    } else if (option == "--quick") {
      quick = true;
    } else if (option == "--snr") {
      snr = ParseSnrSteps(value());
    } else if (option == "--offsets") {
      offsets = ParseList(value(), option);
    } else if (option == "--rates") {
      rates.emplace();
      for (const double percent : ParseList(value(), option))
        rates->push_back(percent / 100.0);
    } else if (option == "--messages") {
      messages = ParseCount(value(), option, 1, 1000);
    } else if (option == "--jobs") {
      options.jobs = ParseCount(value(), option, 1, 256);
    } else if (option == "--fixed-language") {
      options.fixedLanguage = true;
    } else if (option == "--language") {
      options.languages = ParseLanguages(value());
    } else {
      throw std::invalid_argument("unknown option " + option + " (see --help)");
    }
  }
  options.snrDb = snr.value_or(quick ? QuickSnrSteps() : DefaultSnrSteps());
  options.messagesPerPoint = messages.value_or(quick ? 2 : options.messagesPerPoint);
  if (quick) {
    options.offsetsHz = {0.0, 10.0};
    options.rateErrors = {0.0, 0.003};
  }
  if (offsets) options.offsetsHz = *offsets;
  if (rates) options.rateErrors = *rates;
  return options;
}

std::string SweepUsage() {
  return "Usage: seaherald-sensitivity [options]\n"
         "Sends generated NAVTEX messages through the receiver at a sweep of signal-to-noise\n"
         "ratios, tuning offsets and bit-rate errors, and prints a markdown table.\n"
         "  --quick            a short run: fewer SNR steps, offsets 0 and +10 Hz, rate errors 0\n"
         "                     and +0.3 %, 2 messages a point\n"
         "  --snr LIST         SNR steps in dB, FROM:TO:STEP or a,b,c\n"
         "  --offsets LIST     tuning offsets in Hz (default 0,-5,5,-10,10)\n"
         "  --rates LIST       bit-rate errors in percent (default 0,-0.3,0.3)\n"
         "  --messages N       messages per point (default 10)\n"
         "  --language L       english, japanese or both (default both)\n"
         "  --fixed-language   set the receiver to the language sent, automatic mode off\n"
         "                     (default: the program's automatic mode, starting in Japanese)\n"
         "  --jobs N           worker threads (default: one per processor)\n";
}

}  // namespace seaherald::sensitivity
