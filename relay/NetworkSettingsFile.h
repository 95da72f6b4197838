#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "relay/NetworkOutputs.h"

namespace seaherald {

// The section of the window's settings file for the network outputs. Absent (or with empty
// values): no output, as before the section existed. The window only reads it; saving the
// settings leaves it as the user wrote it.
inline constexpr const char* kNetworkSection = "Net";

// A key whose value cannot be used; that output stays off.
struct NetworkSettingProblem {
  std::string key;
  std::string value;  // as written (Shift-JIS bytes)
};

struct NetworkSettingsLoad {
  NetworkOutputSettings settings;
  std::vector<NetworkSettingProblem> problems;
  bool AnyOutput() const { return settings.nrxUdp.has_value() || settings.mqtt.has_value(); }
};

// Reads NrxUdp (HOST:PORT), NrxFreq (490, 518 or 4209; 518 when absent), MqttUrl
// (mqtt://[USER[:PASSWORD]@]HOST[:PORT]), MqttRetainHeaders (1: a retained copy per header),
// MqttClientId and MqttTopic (seaherald/<host name> when absent; turned into UTF-8, and MQTT stays
// off when it cannot be used) from the section. A missing or unreadable file gives no output and no
// problem. Outputs are for filed messages only, as the window hands on what it files.
NetworkSettingsLoad LoadNetworkSettings(const std::filesystem::path& settingsFile);

}  // namespace seaherald
