#include "relay/MqttPublisher.h"

#include <mosquitto.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <new>

namespace seaherald {
namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr unsigned kReconnectFirstSeconds = 1;
constexpr unsigned kReconnectLongestSeconds = 8;
constexpr int kQos = 1;
constexpr int kLoopMilliseconds = 100;  // how soon a new payload goes out

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
    : target_(std::move(target)), report_(std::move(report)), clientId_(ClientId()) {
  InitialiseLibraryOnce();
  client_ = mosquitto_new(clientId_.c_str(), true, this);
  if (client_ == nullptr) throw std::bad_alloc();
  ConfigureClient();
  network_ = std::thread([this] { NetworkLoop(); });
}

MqttPublisher::~MqttPublisher() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  network_.join();
  mosquitto_destroy(client_);
}

void MqttPublisher::ConfigureClient() {
  if (!target_.user.empty()) {
    mosquitto_username_pw_set(client_, target_.user.c_str(),
                              target_.password.empty() ? nullptr : target_.password.c_str());
  }
  mosquitto_connect_callback_set(client_, &MqttPublisher::OnConnect);
  mosquitto_publish_callback_set(client_, &MqttPublisher::OnPublish);
}

void MqttPublisher::NetworkLoop() {
  const std::string where = target_.host + ":" + std::to_string(target_.port);
  unsigned delay = kReconnectFirstSeconds;
  while (!Stopping()) {
    const int connected =
        mosquitto_connect(client_, target_.host.c_str(), target_.port, kKeepAliveSeconds);
    if (connected != MOSQ_ERR_SUCCESS) {
      TellOnce("MQTT broker " + where + " not reachable (" + mosquitto_strerror(connected) +
               "); retrying");
      if (!Pause(std::chrono::seconds(delay))) return;
      delay = std::min(delay * 2, kReconnectLongestSeconds);
      continue;
    }
    delay = kReconnectFirstSeconds;
    RunConnection();
    Requeue();
    if (Stopping()) return;
    TellOnce("MQTT broker " + where + " connection lost; reconnecting");
  }
}

// Runs the client until the connection breaks or the publisher is destroyed.
void MqttPublisher::RunConnection() {
  while (mosquitto_loop(client_, kLoopMilliseconds, 1) == MOSQ_ERR_SUCCESS) {
    if (Stopping()) {
      mosquitto_disconnect(client_);
      return;
    }
    SendQueued();
  }
}

void MqttPublisher::SendQueued() {
  for (;;) {
    std::string payload;
    {
      const std::lock_guard lock(mutex_);
      if (!connected_ || queued_.empty()) return;
      payload = std::move(queued_.front());
      queued_.pop_front();
    }
    int messageId = 0;
    const int result =
        mosquitto_publish(client_, &messageId, target_.topic.c_str(),
                          static_cast<int>(payload.size()), payload.data(), kQos, false);
    const std::lock_guard lock(mutex_);
    if (result == MOSQ_ERR_SUCCESS) {
      sent_.push_back({messageId, std::move(payload)});
    } else if (result == MOSQ_ERR_PAYLOAD_SIZE || result == MOSQ_ERR_INVAL) {
      Tell(std::string("MQTT: a message could not be published: ") + mosquitto_strerror(result));
      changed_.notify_all();
    } else {
      queued_.push_front(std::move(payload));  // the connection broke: the next one sends it
      return;
    }
  }
}

void MqttPublisher::Requeue() {
  {
    const std::lock_guard lock(mutex_);
    connected_ = false;
    for (auto sent = sent_.rbegin(); sent != sent_.rend(); ++sent)
      queued_.push_front(std::move(sent->payload));
    sent_.clear();
  }
  mosquitto_reinitialise(client_, clientId_.c_str(), true, this);
  ConfigureClient();
}

bool MqttPublisher::Stopping() {
  const std::lock_guard lock(mutex_);
  return stopping_;
}

bool MqttPublisher::Pause(std::chrono::seconds delay) {
  std::unique_lock lock(mutex_);
  return !changed_.wait_for(lock, delay, [this] { return stopping_; });
}

void MqttPublisher::Publish(std::string payload) {
  const std::lock_guard lock(mutex_);
  queued_.push_back(std::move(payload));
}

std::size_t MqttPublisher::Flush(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, limit, [this] { return queued_.empty() && sent_.empty(); });
  return queued_.size() + sent_.size();
}

void MqttPublisher::OnConnect(mosquitto*, void* self, int result) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  const std::lock_guard lock(publisher.mutex_);
  if (result != 0) {
    if (!publisher.toldLost_) {
      publisher.Tell(std::string("MQTT broker refused the connection: ") +
                     mosquitto_connack_string(result));
    }
    publisher.toldLost_ = true;
    return;
  }
  publisher.connected_ = true;
  if (publisher.toldLost_) publisher.Tell("MQTT broker connected again");
  publisher.toldLost_ = false;
}

void MqttPublisher::OnPublish(mosquitto*, void* self, int messageId) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  {
    const std::lock_guard lock(publisher.mutex_);
    std::erase_if(publisher.sent_, [messageId](const Sent& s) { return s.messageId == messageId; });
  }
  publisher.changed_.notify_all();
}

void MqttPublisher::TellOnce(const std::string& text) {
  const std::lock_guard lock(mutex_);
  if (toldLost_) return;
  toldLost_ = true;
  Tell(text);
}

void MqttPublisher::Tell(const std::string& text) const {
  if (report_) report_(text);
}

}  // namespace seaherald
