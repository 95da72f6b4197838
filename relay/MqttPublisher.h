#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

struct mosquitto;

namespace seaherald {

inline constexpr std::string_view kDefaultMqttTopic = "seaherald/messages";

// Where to publish: from "mqtt://[USER[:PASSWORD]@]HOST[:PORT]" (port 1883 by default).
struct MqttTarget {
  std::string host;
  int port = 1883;
  std::string user;  // empty: no log-in
  std::string password;
  std::string topic = std::string(kDefaultMqttTopic);
};

// The target of a URL, or the text of what is wrong with it.
std::variant<MqttTarget, std::string> ParseMqttUrl(std::string_view url);

// Publishes payloads to one topic with QoS 1 from a network thread of its own. It connects in the
// background and reconnects by itself after the broker went away; a payload given while there is
// no connection waits in memory and goes out when the broker is back, and one sent but not yet
// acknowledged is sent again, so nothing is lost while the broker restarts. Publish never blocks.
class MqttPublisher {
 public:
  // `report` hears, from the network thread, when the connection is lost or refused and when it
  // is made again (plain English text).
  MqttPublisher(MqttTarget target, std::function<void(const std::string&)> report = {});
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;
  ~MqttPublisher();

  void Publish(std::string payload);
  // Waits until the broker has acknowledged every payload or the time is up; returns how many
  // are still unacknowledged.
  std::size_t Flush(std::chrono::milliseconds limit);

 private:
  static void OnConnect(mosquitto*, void* self, int result);
  static void OnDisconnect(mosquitto*, void* self, int result);
  static void OnPublish(mosquitto*, void* self, int messageId);
  void SendWaiting();  // with mutex_ held
  void Tell(const std::string& text) const;

  MqttTarget target_;
  std::function<void(const std::string&)> report_;
  mosquitto* client_ = nullptr;

  std::mutex mutex_;
  std::condition_variable acknowledged_;
  std::deque<std::string> waiting_;  // not yet taken by the client library
  std::size_t inFlight_ = 0;         // taken, not yet acknowledged
  bool toldLost_ = false;
};

}  // namespace seaherald
