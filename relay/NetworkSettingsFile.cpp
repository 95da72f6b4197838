#include "relay/NetworkSettingsFile.h"

#include <cstdlib>

#include "platform/CodePage.h"
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
      load.settings.mqtt = WithCredentialsFrom(*parsed, std::getenv("SEAHERALD_MQTT_USER"),
                                               std::getenv("SEAHERALD_MQTT_PASSWORD"));
    } else {
      problem("MqttUrl", url);
    }
  }
  if (const std::string retain = Value(loaded.document, "MqttRetainHeaders"); !retain.empty()) {
    if (retain != "0" && retain != "1") {
      problem("MqttRetainHeaders", retain);
    } else if (load.settings.mqtt) {
      load.settings.mqtt->retainHeaders = retain == "1";
    }
  }
  if (const std::string id = Value(loaded.document, "MqttClientId"); !id.empty()) {
    const std::optional<std::string> utf8 = CodePageConverter().Utf8FromCp932(id);
    if (!utf8 || MqttClientIdProblem(*utf8)) {
      problem("MqttClientId", id);
    } else if (load.settings.mqtt) {
      load.settings.mqtt->clientId = *utf8;
    }
  }
  // The file is Shift-JIS; a broker takes UTF-8 topics only.
  if (const std::string topic = Value(loaded.document, "MqttTopic"); !topic.empty()) {
    const std::optional<std::string> utf8 = CodePageConverter().Utf8FromCp932(topic);
    if (!utf8 || MqttTopicProblem(*utf8)) {
      problem("MqttTopic", topic);
      load.settings.mqtt.reset();  // not under another topic than the one asked for
    } else if (load.settings.mqtt) {
      load.settings.mqtt->topic = *utf8;
    }
  }
  return load;
}

}  // namespace seaherald
