#pragma once

#include <functional>
#include <string>

#include "tools/DecodeRunner.h"

namespace seaherald::decodetool {

// Stops SIGINT and SIGTERM from ending the process so that RunLiveCapture can stop cleanly on
// them. Call before any thread is started: threads inherit the mask.
void HoldStopSignals();

// Captures from the sound server into `runner`, through the same capture, block gathering and
// device choice as the window, until SIGINT or SIGTERM (held by HoldStopSignals). `waveInName`
// (Shift-JIS) names the input as the window stores it; the default input when it is not listed.
// When the server or the device goes away the capture is tried again every few seconds, as the
// window does, and picks up when it is back. What the window would show in a message dialog goes
// to `report` as UTF-8. Returns the signal that stopped it.
// `waveInId` is the server's own name of that input, as the settings file keeps it beside the name.
int RunLiveCapture(DecodeRunner& runner, std::string waveInName,
                   const std::function<void(const std::string&)>& report,
                   const std::string& waveInId = {});

}  // namespace seaherald::decodetool
