#include "tools/DecodeOptions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>

namespace seaherald::decodetool {
namespace {

constexpr double HighestCenterHz = 1500.0;  // the receiver mixes the centre up to this frequency

// Applies an option's value; returns an error message, empty when the value is good.
using ApplyOption = std::string (*)(std::string_view value, DecodeOptions& options);

struct OptionRow {
  std::string_view name;
  std::string_view valueName;  // empty for a switch without a value
  std::string_view help;
  ApplyOption apply;
};

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string ApplyCenter(std::string_view value, DecodeOptions& options) {
  const std::optional<double> hz = ParseNumber(value);
  if (!hz) return "--center needs a number of Hz, not '" + std::string(value) + "'";
  if (*hz <= 0.0 || *hz >= HighestCenterHz) {
    return "--center must be above 0 and below 1500 Hz, not " + std::string(value);
  }
  options.centerHz = *hz;
  return {};
}

std::string ApplyLanguage(std::string_view value, DecodeOptions& options) {
  if (value == "en") {
    options.english = true;
  } else if (value == "ja") {
    options.english = false;
  } else {
    return "--lang must be en or ja, not '" + std::string(value) + "'";
  }
  return {};
}

const std::array<OptionRow, 5> Options{{
    {"--center", "HZ", "centre between the two tones, above 0 and below 1500 (default 800)",
     ApplyCenter},
    {"--lang", "en|ja", "language to start in (default ja)", ApplyLanguage},
    {"--invert", "", "start with inverted polarity",
     [](std::string_view, DecodeOptions& o) {
       o.inverted = true;
       return std::string();
     }},
    {"--manual", "", "keep the starting language and polarity (no automatic choice)",
     [](std::string_view, DecodeOptions& o) {
       o.automatic = false;
       return std::string();
     }},
    {"--help", "", "show this text",
     [](std::string_view, DecodeOptions& o) {
       o.showHelp = true;
       return std::string();
     }},
}};

const OptionRow* FindOption(std::string_view name) {
  for (const OptionRow& row : Options) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

}  // namespace

std::variant<DecodeOptions, UsageError> ParseDecodeOptions(std::span<const std::string_view> args) {
  DecodeOptions options;
  bool haveInput = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (haveInput)
        return UsageError{"only one input may be given, not also '" + std::string(arg) + "'"};
      options.input = std::string(arg);
      haveInput = true;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const OptionRow* row = FindOption(name);
    if (row == nullptr) return UsageError{"unknown option '" + std::string(name) + "'"};
    std::string_view value;
    if (row->valueName.empty()) {
      if (equals != std::string_view::npos) {
        return UsageError{std::string(name) + " takes no value"};
      }
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return UsageError{std::string(name) + " needs a value (" + std::string(row->valueName) + ")"};
    }
    if (std::string error = row->apply(value, options); !error.empty()) return UsageError{error};
  }
  if (!haveInput && !options.showHelp)
    return UsageError{"no input given (a file name, or - for standard input)"};
  return options;
}

std::string DecodeUsage() {
  std::ostringstream text;
  text << "Usage: seaherald-decode [options] FILE|-\n"
          "Decodes NAVTEX (English SITOR-B and the Japanese-language service) from a recording\n"
          "and prints every received line as UTF-8; a line cut short by lost signal ends in "
          "\"...\".\n"
          "FILE is any format libsndfile reads, at any sample rate; \"-\" reads raw signed 16-bit\n"
          "little-endian mono PCM at 44100 Hz from standard input.\n\nOptions:\n";
  for (const OptionRow& row : Options) {
    std::string left = "  ";
    left += row.name;
    if (!row.valueName.empty()) left.append(" ").append(row.valueName);
    left.resize(std::max<std::size_t>(left.size() + 2, 18), ' ');
    text << left << row.help << "\n";
  }
  text << "\nExit status: 0 when the input was decoded to its end, 1 when it could not be read or\n"
          "ended early (what was there is still decoded), 2 for a wrong command line.\n";
  return text.str();
}

}  // namespace seaherald::decodetool
