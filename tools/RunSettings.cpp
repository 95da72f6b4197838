#include "tools/RunSettings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/SettingsFile.h"
#include "msglog/MessageSelection.h"
#include "msglog/StationList.h"
#include "platform/ProfileFile.h"
#include "tools/BlockSource.h"

namespace seaherald::decodetool {
namespace {

constexpr double HighestCenterHz = 1500.0;  // the receiver mixes the centre up to this frequency

// LoadSettings quietly gives the defaults for a file it cannot read, as the window must at
// start-up; a file named on the command line that is not there is a mistake worth telling.
void CheckReadable(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw InputError("cannot read settings file '" + path.string() + "': it is a directory");
  }
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) {
    throw InputError("cannot read settings file '" + path.string() + "': " + std::strerror(errno));
  }
  std::fclose(probe);
}

Settings BaseSettings(const DecodeOptions& options) {
  if (!options.settingsFile) return Settings{};
  CheckReadable(*options.settingsFile);
  Settings settings = LoadSettings(*options.settingsFile);
  RaiseStartupMinimums(settings);
  return settings;
}

double CenterFromFile(int centF, const char* key, const std::string& file) {
  const double hz = centF * 10.0;
  if (hz <= 0.0 || hz >= HighestCenterHz) {
    throw InputError("settings file '" + file + "': " + key + " " + std::to_string(centF) +
                     " gives a centre of " + std::to_string(static_cast<long long>(centF) * 10) +
                     " Hz; it must be above 0 and below 1500 Hz (or give --center)");
  }
  return hz;
}

bool IsWatchFrequency(std::string_view kilohertz) {
  return kilohertz == "518" || kilohertz == "490" || kilohertz == "424" || kilohertz == "4209.5";
}

// Taken silently, a [Watch] value spoilt by a hand edit would name the stations as the Japanese
// catalogue does or take every message: refused as an unusable CentF is, unless the command line
// gives the value.
void CheckWatchValues(const DecodeOptions& options, const Settings& settings) {
  const std::string& file = *options.settingsFile;
  const ProfileDocument document = LoadProfile(file).document;
  const auto check = [&](std::string_view key, bool needed, bool (*usable)(std::string_view),
                         std::string_view rule) {
    const std::optional<std::string> value = document.Get("Watch", key);
    if (!needed || !value || usable(*value)) return;
    throw InputError("settings file '" + file + "': [Watch] " + std::string(key) + " '" + *value +
                     "' cannot be used; " + std::string(rule));
  };
  const bool area = settings.NavArea > 0;
  check(
      "NavArea", !options.navArea,
      [](std::string_view value) {
        const std::optional<int> area = ParseSettingsInteger(value);
        return value.empty() || (area && *area >= 0 && *area <= kNavAreaCount);
      },
      "it must be a NAVAREA from 1 to 21, or 0 for none (or give --navarea)");
  check("NavFreq", area && !options.navFreq, IsWatchFrequency,
        "it must be 518, 490, 424 or 4209.5 (or give --frequency)");
  check(
      "NavFreq2", area && settings.Receiver2 && !options.navFreq2,
      [](std::string_view value) { return value.empty() || IsWatchFrequency(value); },
      "it must be 518, 490, 424, 4209.5 or empty (or give --frequency L,R)");
  const auto letters = [](std::string_view value) { return ParseLetterSet(value).has_value(); };
  check("Stations", !options.stations, letters, "it must be letters A to Z (or give --stations)");
  check("Types", !options.types, letters, "it must be letters A to Z (or give --types)");
  check("AlarmTypes", !options.alarmTypes, letters,
        "it must be letters A to Z (or give --alarm-types)");
}

void ApplySecondReceiver(const DecodeOptions& options, RunSettings& run) {
  Settings& settings = run.settings;
  settings.Receiver2 = options.channels.second.has_value();
  if (!settings.Receiver2) return;
  run.centerHz2 = options.centerHz2 ? *options.centerHz2
                                    : CenterFromFile(settings.CentF2, "CentF2",
                                                     options.settingsFile.value_or("(defaults)"));
  settings.DecLang2 = options.english2.value_or(settings.DecLang2);
  settings.DecInv2 = options.inverted2.value_or(settings.DecInv2);
  settings.AutoSet2 = options.automatic2.value_or(settings.AutoSet2);
  settings.NavFreq2 = options.navFreq2.value_or(settings.NavFreq2);
  run.navFreq2 = settings.SecondNavFreq();
  run.frequency2 = options.frequency2.value_or(
      ParseNavtexFrequency(settings.NavFreq2).value_or(options.frequency));
  settings.DecSens2 = options.sensitive2.value_or(settings.DecSens2);
}

}  // namespace

RunSettings SettingsForRun(const DecodeOptions& options) {
  RunSettings run{BaseSettings(options)};
  Settings& settings = run.settings;
  settings.AutoLogDelete = false;
  if (options.centerHz) {
    run.centerHz = *options.centerHz;
  } else {
    run.centerHz =
        CenterFromFile(settings.CentF, "CentF", options.settingsFile.value_or("(defaults)"));
  }
  settings.DecLang = options.english.value_or(settings.DecLang);
  settings.DecInv = options.inverted.value_or(settings.DecInv);
  settings.AutoSet = options.automatic.value_or(settings.AutoSet);
  settings.ErrNum = options.errNum.value_or(settings.ErrNum);
  settings.ErrSave = options.errSave.value_or(settings.ErrSave);
  settings.TimeOut = options.timeOut.value_or(settings.TimeOut);
  settings.NavArea = options.navArea.value_or(settings.NavArea);
  settings.NavFreq = options.navFreq.value_or(settings.NavFreq);
  settings.Stations = options.stations.value_or(settings.Stations);
  settings.Types = options.types.value_or(settings.Types);
  settings.AlarmTypes = options.alarmTypes.value_or(settings.AlarmTypes);
  settings.DecSens = options.sensitive.value_or(settings.DecSens);
  ApplySecondReceiver(options, run);
  if (options.settingsFile) CheckWatchValues(options, settings);
  return run;
}

}  // namespace seaherald::decodetool
