#include "relay/MqttPublisher.h"

#include <mosquitto.h>
#include <unistd.h>

#include <charconv>
#include <new>

namespace seaherald {
namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr unsigned kReconnectFirstSeconds = 1;
constexpr unsigned kReconnectLongestSeconds = 8;
constexpr int kQos = 1;

// The library keeps its own process-wide state; set it up once, before the first client.
void InitialiseLibraryOnce() {
  static const int once = mosquitto_lib_init();
  (void)once;
}

std::string ClientId() {
  char host[64] = "host";
  gethostname(host, sizeof host - 1);
  return "seaherald-" + std::string(host) + "-" + std::to_string(getpid());
}

}  // namespace

std::variant<MqttTarget, std::string> ParseMqttUrl(std::string_view url) {
  constexpr std::string_view scheme = "mqtt://";
  if (!url.starts_with(scheme)) {
    return "the MQTT URL must begin with mqtt:// (TLS is not supported), not '" + std::string(url) +
           "'";
  }
  std::string_view rest = url.substr(scheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
  MqttTarget target;
  if (const std::size_t at = rest.rfind('@'); at != std::string_view::npos) {
    const std::string_view login = rest.substr(0, at);
    const std::size_t colon = login.find(':');
    target.user = std::string(login.substr(0, colon));
    if (colon != std::string_view::npos) target.password = std::string(login.substr(colon + 1));
    rest = rest.substr(at + 1);
  }
  if (rest.find('/') != std::string_view::npos)
    return "the MQTT URL names a broker only; give the topic with its own option";
  std::string_view host = rest;
  if (const std::size_t colon = rest.rfind(':');
      colon != std::string_view::npos && !rest.ends_with(']')) {
    host = rest.substr(0, colon);
    const std::string_view port = rest.substr(colon + 1);
    const auto [stop, error] = std::from_chars(port.data(), port.data() + port.size(), target.port);
    if (port.empty() || error != std::errc() || stop != port.data() + port.size() ||
        target.port < 1 || target.port > 65535) {
      return "the MQTT port must be from 1 to 65535, not '" + std::string(port) + "'";
    }
  }
  if (host.starts_with('[') && host.ends_with(']')) host = host.substr(1, host.size() - 2);
  if (host.empty()) return "the MQTT URL names no broker host";
  target.host = std::string(host);
  return target;
}

MqttPublisher::MqttPublisher(MqttTarget target, std::function<void(const std::string&)> report)
    : target_(std::move(target)), report_(std::move(report)) {
  InitialiseLibraryOnce();
  client_ = mosquitto_new(ClientId().c_str(), true, this);
  if (client_ == nullptr) throw std::bad_alloc();
  if (!target_.user.empty()) {
    mosquitto_username_pw_set(client_, target_.user.c_str(),
                              target_.password.empty() ? nullptr : target_.password.c_str());
  }
  mosquitto_connect_callback_set(client_, &MqttPublisher::OnConnect);
  mosquitto_disconnect_callback_set(client_, &MqttPublisher::OnDisconnect);
  mosquitto_publish_callback_set(client_, &MqttPublisher::OnPublish);
  mosquitto_reconnect_delay_set(client_, kReconnectFirstSeconds, kReconnectLongestSeconds, true);
  // A broker that is not up yet is no error: the network thread keeps trying.
  if (mosquitto_connect_async(client_, target_.host.c_str(), target_.port, kKeepAliveSeconds) !=
      MOSQ_ERR_SUCCESS) {
    Tell("MQTT broker " + target_.host + ":" + std::to_string(target_.port) +
         " not reachable yet; retrying");
    toldLost_ = true;
  }
  mosquitto_loop_start(client_);
}

MqttPublisher::~MqttPublisher() {
  mosquitto_disconnect(client_);
  mosquitto_loop_stop(client_, false);
  mosquitto_destroy(client_);
}

void MqttPublisher::Publish(std::string payload) {
  const std::lock_guard lock(mutex_);
  waiting_.push_back(std::move(payload));
  SendWaiting();
}

void MqttPublisher::SendWaiting() {
  while (!waiting_.empty()) {
    const std::string& payload = waiting_.front();
    const int result =
        mosquitto_publish(client_, nullptr, target_.topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), kQos, false);
    // Refused for want of a connection: it waits for the next one. Taken: the library keeps it
    // until the broker acknowledges it, across reconnections.
    if (result == MOSQ_ERR_NO_CONN) return;
    if (result == MOSQ_ERR_SUCCESS) {
      ++inFlight_;
    } else {
      Tell(std::string("MQTT: a message could not be published: ") + mosquitto_strerror(result));
    }
    waiting_.pop_front();
  }
}

std::size_t MqttPublisher::Flush(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  acknowledged_.wait_for(lock, limit, [this] { return inFlight_ == 0 && waiting_.empty(); });
  return inFlight_ + waiting_.size();
}

void MqttPublisher::OnConnect(mosquitto*, void* self, int result) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  const std::lock_guard lock(publisher.mutex_);
  if (result != 0) {
    publisher.Tell(std::string("MQTT broker refused the connection: ") +
                   mosquitto_connack_string(result));
    publisher.toldLost_ = true;
    return;
  }
  if (publisher.toldLost_) publisher.Tell("MQTT broker connected again");
  publisher.toldLost_ = false;
  publisher.SendWaiting();
}

void MqttPublisher::OnDisconnect(mosquitto*, void* self, int result) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  const std::lock_guard lock(publisher.mutex_);
  if (result != 0 && !publisher.toldLost_) {
    publisher.Tell("MQTT broker connection lost; reconnecting");
    publisher.toldLost_ = true;
  }
}

void MqttPublisher::OnPublish(mosquitto*, void* self, int) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  const std::lock_guard lock(publisher.mutex_);
  if (publisher.inFlight_ > 0) --publisher.inFlight_;
  publisher.acknowledged_.notify_all();
}

void MqttPublisher::Tell(const std::string& text) const {
  if (report_) report_(text);
}

}  // namespace seaherald
