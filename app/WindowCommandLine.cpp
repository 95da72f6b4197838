#include "app/WindowCommandLine.h"

#include "platform/Version.h"

namespace seaherald {

std::optional<CommandLineReply> WindowCommandLineReply(std::span<const std::string_view> args) {
  for (const std::string_view arg : args) {
    if (arg == "--version")
      return CommandLineReply{std::string("seaherald ") + ProgramVersion + "\n"};
    if (arg == "--help") {
      return CommandLineReply{
          "Usage: seaherald [--version] [--help]\n"
          "Opens the SEAHERALD NAVTEX receiver window.\n"
          "\n"
          "Settings and messages are kept beside the program when a file seaherald.ini or a\n"
          "folder log is there (a portable copy); otherwise in\n"
          "$XDG_CONFIG_HOME/seaherald/seaherald.ini (default ~/.config) and\n"
          "$XDG_DATA_HOME/seaherald/log/ (default ~/.local/share).\n"};
    }
  }
  return std::nullopt;
}

}  // namespace seaherald
