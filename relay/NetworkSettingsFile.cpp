#include "relay/NetworkSettingsFile.h"

#include "platform/ProfileFile.h"

namespace seaherald {
namespace {

// The value of a key with blanks trimmed; empty when absent.
std::string Value(const ProfileDocument& document, std::string_view key) {
  return document.Get(kNetworkSection, key).value_or("");
}

}  // namespace

NetworkSettingsLoad LoadNetworkSettings(const std::filesystem::path& settingsFile) {
  const ProfileLoadResult loaded = LoadProfile(settingsFile);
  NetworkSettingsLoad load;
  load.settings.filedOnly = true;
  const auto problem = [&load](const char* key, const std::string& value) {
    load.problems.push_back({key, value});
  };

  if (const std::string udp = Value(loaded.document, "NrxUdp"); !udp.empty()) {
    load.settings.nrxUdp = ParseHostPort(udp);
    if (!load.settings.nrxUdp) problem("NrxUdp", udp);
  }
  const std::string frequency = Value(loaded.document, "NrxFreq");
  if (!frequency.empty()) {
    if (const auto parsed = ParseNavtexFrequency(frequency)) {
      load.settings.frequency = *parsed;
    } else {
      problem("NrxFreq", frequency);
    }
  }

  if (const std::string url = Value(loaded.document, "MqttUrl"); !url.empty()) {
    auto target = ParseMqttUrl(url);
    if (auto* parsed = std::get_if<MqttTarget>(&target)) {
      load.settings.mqtt = *parsed;
    } else {
      problem("MqttUrl", url);
    }
  }
  if (const std::string topic = Value(loaded.document, "MqttTopic"); !topic.empty()) {
    if (topic.find_first_of("#+") != std::string::npos) {
      problem("MqttTopic", topic);
    } else if (load.settings.mqtt) {
      load.settings.mqtt->topic = topic;
    }
  }
  return load;
}

}  // namespace seaherald
