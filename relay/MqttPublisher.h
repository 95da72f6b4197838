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
#include <thread>
#include <variant>
#include <vector>

struct mosquitto;

namespace seaherald {

// "seaherald/<host name>": each receiver publishes under a topic of its own.
std::string DefaultMqttTopic();

// Where to publish: from "mqtt://[USER[:PASSWORD]@]HOST[:PORT]" (port 1883 by default) or
// "mqtts://..." (TLS, port 8883 by default).
struct MqttTarget {
  std::string host;
  int port = 1883;
  // TLS: the broker's certificate must chain to a CA of the system's store (or of caFile) and
  // name `host`.
  bool tls = false;
  std::string caPath = "/etc/ssl/certs";
  std::string caFile;  // when set, instead of caPath
  std::string user;    // empty: no log-in
  std::string password;
  std::string topic = DefaultMqttTopic();
  // Retained "online" while connected, "offline" after a clean end, and the broker's last will
  // "offline" when the connection breaks: "<topic>/status".
  std::string AvailabilityTopic() const { return topic + "/status"; }
  // Also each message, retained, on "<topic>/message/<header>", so that a dashboard opened later
  // shows the latest message of every header at once.
  bool retainHeaders = false;
  // The session's client id; empty: "seaherald-<host name>-<process id>". A fixed one lets the
  // broker's access rules and logs name the receiver, but two clients with it push each other off.
  std::string clientId;
  std::string HeaderTopic(std::string_view header) const {
    return topic + "/message/" + std::string(header);
  }
};

// The target of a URL, or the text of what is wrong with it. An IPv6 address goes in brackets.
std::variant<MqttTarget, std::string> ParseMqttUrl(std::string_view url);

// The target with the log-in from the environment's SEAHERALD_MQTT_USER and
// SEAHERALD_MQTT_PASSWORD (given here as `user` and `password`, null when unset) where the URL
// gave none, so that a password need not show in the process list or a unit file.
MqttTarget WithCredentialsFrom(MqttTarget target, const char* user, const char* password);

// What makes `clientId` unusable: empty, not UTF-8, too long.
std::optional<std::string> MqttClientIdProblem(std::string_view clientId);

// The "receiver" of the JSON objects: the client id when one is given, else the host name.
std::string ReceiverId(const std::optional<MqttTarget>& target);

// What makes `topic` (UTF-8) unusable for publishing: empty, a wildcard, not UTF-8, too long.
std::optional<std::string> MqttTopicProblem(std::string_view topic);

// Publishes payloads to one topic with QoS 1 from a network thread of its own, which alone talks
// to the broker. It connects in the background, also when the broker is not up yet, and
// reconnects by itself after the broker went away, refused the session or was no broker at all:
// after 1 s, doubling up to a minute between attempts (one second while Flush waits). Every
// payload is kept in memory until the broker has acknowledged it: one given while there is no
// connection goes out when the broker is back, and one sent but not acknowledged when the
// connection broke is sent again after the next connect, so nothing is lost while the broker
// restarts (the broker may then see a payload twice, as QoS 1 allows). Publish never blocks.
class MqttPublisher {
 public:
  // `report` hears, from the network thread, when the broker cannot be reached, refuses the
  // session (with its reason) or the connection is lost, once until it is made again, and when it
  // is made again (plain English text).
  MqttPublisher(MqttTarget target, std::function<void(const std::string&)> report = {});
  MqttPublisher(const MqttPublisher&) = delete;
  MqttPublisher& operator=(const MqttPublisher&) = delete;
  ~MqttPublisher();

  // `header` (UTF-8) names the retained copy's topic when the target asks for one.
  void Publish(std::string payload, std::string_view header = {});
  // Waits until the broker has acknowledged every payload or the time is up; returns how many
  // are still unacknowledged.
  std::size_t Flush(std::chrono::milliseconds limit);

 private:
  struct Outgoing {
    std::string topic;
    std::string payload;
    bool retain = false;
  };
  struct Sent {
    int messageId;
    Outgoing message;
  };

  static void OnConnect(mosquitto*, void* self, int result);
  static void OnPublish(mosquitto*, void* self, int messageId);
  void ConfigureClient();
  // Publishes `state` on the availability topic, or makes it the last will.
  void SetAvailability(std::string_view state, bool asWill);
  void NetworkLoop();
  // The next pause after a failed or ended connection.
  std::chrono::seconds NextDelay(std::chrono::seconds delay);
  std::string NoSessionReason(const std::string& where) const;
  // Runs one connection; true when the broker accepted the session.
  bool RunConnection();
  void SendQueued();
  // After a broken connection: what was sent and not acknowledged goes first in the queue again,
  // and the client forgets it, so that it is sent once, by this object.
  void Requeue();
  bool Stopping();
  // Sleeps for `delay` unless the publisher is being destroyed (false then); Flush cuts it short.
  bool Pause(std::chrono::seconds delay);
  void TellOnce(const std::string& text);
  void Tell(const std::string& text) const;

  MqttTarget target_;
  std::function<void(const std::string&)> report_;
  std::string clientId_;
  std::string tlsProblem_;  // why TLS cannot be set up; only the network thread changes it
  mosquitto* client_ = nullptr;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Outgoing> queued_;  // not yet given to the broker
  std::vector<Sent> sent_;       // given, not yet acknowledged
  bool connected_ = false;
  bool toldLost_ = false;
  bool flushing_ = false;
  bool stopping_ = false;
  std::thread network_;
};

}  // namespace seaherald
