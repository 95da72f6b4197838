#pragma once

#include <string>

#include "app/Settings.h"
#include "tools/DecodeOptions.h"

namespace seaherald::decodetool {

// The receiver settings one decoding runs with. The centre is kept apart from CentF because the
// command line may give it finer than the settings file's steps of 10 Hz.
struct RunSettings {
  Settings settings;
  double centerHz = Settings{}.CentF * 10.0;
  double centerHz2 = Settings{}.CentF2 * 10.0;  // the second receiver's, when it runs
  std::string navFreq2 = Settings{}.NavFreq;    // the second receiver's watch frequency
  // The frequency the second receiver's messages carry into JSON, MQTT and NRX: its own --frequency
  // value, else the settings file's NavFreq2 once chosen (as in the window), else the first's.
  NavtexFrequency frequency2 = NavtexFrequency::k518;
};

// Starts from the settings file named by --settings, or from the receiver's defaults, raises
// ErrNum and TimeOut to 1 as the window does at start-up, and lets every receiver option given on
// the command line win. Automatic log deletion is always off: the tool only adds to a log folder.
// Throws InputError when the settings file cannot be read or gives a centre the decoder cannot
// take (and --center does not replace it). The second receiver runs when --channel names two
// channels; it takes the settings file's second-receiver keys, and the second value of each L,R
// pair (or the one value given for both) wins over them.
RunSettings SettingsForRun(const DecodeOptions& options);

}  // namespace seaherald::decodetool
