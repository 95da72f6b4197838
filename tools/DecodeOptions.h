#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace seaherald::decodetool {

// What the command line asks for. New options add a field here and a row to the option table in
// DecodeOptions.cpp; nothing else changes.
struct DecodeOptions {
  double centerHz = 800.0;
  bool english = false;  // starting language; the settings default is the Japanese service
  bool inverted = false;
  bool automatic = true;
  std::string input;  // a file name, or "-" for raw PCM on standard input
  bool showHelp = false;
};

struct UsageError {
  std::string message;
};

// Parses the arguments after the program name. "--name VALUE" and "--name=VALUE" both work; "--"
// ends the options, so a file may be called "-x".
std::variant<DecodeOptions, UsageError> ParseDecodeOptions(std::span<const std::string_view> args);

// The text that --help prints.
std::string DecodeUsage();

}  // namespace seaherald::decodetool
