#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace seaherald {

// What the window prints and exits with instead of opening, for "--version" and "--help". Any
// other argument is left to the toolkit, which takes its own (such as -platform) and ignores the
// rest, as before.
struct CommandLineReply {
  std::string text;
  int exitCode = 0;
};

std::optional<CommandLineReply> WindowCommandLineReply(std::span<const std::string_view> args);

}  // namespace seaherald
