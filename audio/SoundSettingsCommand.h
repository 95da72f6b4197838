#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace seaherald {

// A program to start, with its arguments.
struct ExternalCommand {
  std::string program;  // full path
  std::vector<std::string> arguments;
};

// Finds a program by name on the search path; empty when it is not installed.
using ExecutableFinder = std::function<std::optional<std::string>(std::string_view name)>;

// The desktop's sound settings, opened at its input page where the program allows it: the first
// of the known sound settings programs that is installed, or nothing when none is.
std::optional<ExternalCommand> FindSoundSettingsCommand(const ExecutableFinder& find);

}  // namespace seaherald
