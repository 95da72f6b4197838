#include "audio/SoundSettingsCommand.h"

#include <array>

namespace seaherald {
namespace {

struct Candidate {
  std::string_view program;
  std::string_view argument;  // empty: none
};

// Mixer-style programs first: they show the input levels directly.
constexpr std::array<Candidate, 6> SoundSettingsCandidates{{
    {"pavucontrol", "--tab=4"},
    {"pavucontrol-qt", ""},
    {"gnome-control-center", "sound"},
    {"kcmshell6", "kcm_pulseaudio"},
    {"kcmshell5", "kcm_pulseaudio"},
    {"mate-volume-control", ""},
}};

}  // namespace

std::optional<ExternalCommand> FindSoundSettingsCommand(const ExecutableFinder& find) {
  for (const Candidate& candidate : SoundSettingsCandidates) {
    std::optional<std::string> path = find(candidate.program);
    if (!path || path->empty()) continue;
    ExternalCommand command{*path, {}};
    if (!candidate.argument.empty()) command.arguments.emplace_back(candidate.argument);
    return command;
  }
  return std::nullopt;
}

}  // namespace seaherald
