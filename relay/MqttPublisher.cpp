#include "relay/MqttPublisher.h"

#include <mosquitto.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <new>

#include "relay/ReceiverName.h"

namespace seaherald {
namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr std::chrono::seconds kReconnectFirst{1};
constexpr std::chrono::seconds kReconnectLongest{60};
// While Flush waits, the end of a run is near: a broker that comes back must be found in time.
constexpr std::chrono::seconds kReconnectWhileFlushing{1};
// A listener that takes the connection but gives no session in this time is not a broker.
constexpr std::chrono::seconds kSessionWait{10};
constexpr int kQos = 1;
constexpr std::string_view kOnline = "online";
constexpr std::string_view kOffline = "offline";
constexpr int kLoopMilliseconds = 100;  // how soon a new payload goes out

// The library keeps its own process-wide state; set it up once, before the first client.
void InitialiseLibraryOnce() {
  static const int once = mosquitto_lib_init();
  (void)once;
}

std::string ClientId(const MqttTarget& target) {
  if (!target.clientId.empty()) return target.clientId;
  return "seaherald-" + ReceiverName() + "-" + std::to_string(getpid());
}

std::string BrokerAddress(const MqttTarget& target) {
  const bool ipv6 = target.host.find(':') != std::string::npos;
  return (ipv6 ? "[" + target.host + "]" : target.host) + ":" + std::to_string(target.port);
}

}  // namespace

std::string DefaultMqttTopic() {
  return "seaherald/" + ReceiverName();
}

std::optional<std::string> MqttClientIdProblem(std::string_view clientId) {
  if (clientId.empty()) return "the MQTT client id is empty";
  if (mosquitto_validate_utf8(clientId.data(), static_cast<int>(clientId.size())) !=
      MOSQ_ERR_SUCCESS)
    return std::string("the MQTT client id is not valid UTF-8 text");
  if (clientId.size() > 65535) return std::string("the MQTT client id is longer than 65535 bytes");
  return std::nullopt;
}

std::string ReceiverId(const std::optional<MqttTarget>& target) {
  return target && !target->clientId.empty() ? target->clientId : ReceiverName();
}

std::optional<std::string> MqttTopicProblem(std::string_view topic) {
  if (topic.empty()) return "the MQTT topic is empty";
  if (topic.find_first_of("#+") != std::string_view::npos)
    return "the MQTT topic '" + std::string(topic) + "' has a wildcard (# or +)";
  if (mosquitto_validate_utf8(topic.data(), static_cast<int>(topic.size())) != MOSQ_ERR_SUCCESS)
    return std::string("the MQTT topic is not valid UTF-8 text");
  if (topic.size() > 65535) return std::string("the MQTT topic is longer than 65535 bytes");
  return std::nullopt;
}

MqttTarget WithCredentialsFrom(MqttTarget target, const char* user, const char* password) {
  if (target.user.empty() && user != nullptr) target.user = user;
  if (target.password.empty() && password != nullptr && !target.user.empty())
    target.password = password;
  return target;
}

std::variant<MqttTarget, std::string> ParseMqttUrl(std::string_view url) {
  constexpr std::string_view plain = "mqtt://";
  constexpr std::string_view secure = "mqtts://";
  MqttTarget target;
  target.tls = url.starts_with(secure);
  if (!target.tls && !url.starts_with(plain)) {
    return "the MQTT URL must begin with mqtt:// or mqtts:// (TLS), not '" + std::string(url) + "'";
  }
  if (target.tls) target.port = 8883;
  std::string_view rest = url.substr(target.tls ? secure.size() : plain.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);
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
  if (host.starts_with('[') != host.ends_with(']') ||
      (!host.starts_with('[') && host.find(':') != std::string_view::npos)) {
    return "the MQTT URL's host '" + std::string(host) +
           "' is not a name or address (an IPv6 address goes in brackets: mqtt://[::1])";
  }
  if (host.starts_with('[')) host = host.substr(1, host.size() - 2);
  if (host.empty()) return "the MQTT URL names no broker host";
  target.host = std::string(host);
  return target;
}

MqttPublisher::MqttPublisher(MqttTarget target, std::function<void(const std::string&)> report)
    : target_(std::move(target)), report_(std::move(report)), clientId_(ClientId(target_)) {
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
  if (target_.tls) {
    const bool file = !target_.caFile.empty();
    const int result =
        mosquitto_tls_set(client_, file ? target_.caFile.c_str() : nullptr,
                          file ? nullptr : target_.caPath.c_str(), nullptr, nullptr, nullptr);
    // Never fall back to a connection in the clear, which would show the password.
    tlsProblem_.clear();
    if (result != MOSQ_ERR_SUCCESS) {
      tlsProblem_ = "MQTT: TLS cannot be set up with the CA certificates of " +
                    (file ? target_.caFile : target_.caPath) + " (" + mosquitto_strerror(result) +
                    "); not connecting";
    }
  }
  if (!target_.user.empty()) {
    mosquitto_username_pw_set(client_, target_.user.c_str(),
                              target_.password.empty() ? nullptr : target_.password.c_str());
  }
  SetAvailability(kOffline, true);
  mosquitto_connect_callback_set(client_, &MqttPublisher::OnConnect);
  mosquitto_publish_callback_set(client_, &MqttPublisher::OnPublish);
}

void MqttPublisher::SetAvailability(std::string_view state, bool asWill) {
  const std::string topic = target_.AvailabilityTopic();
  const int length = static_cast<int>(state.size());
  if (asWill) {
    mosquitto_will_set(client_, topic.c_str(), length, state.data(), kQos, true);
  } else {
    mosquitto_publish(client_, nullptr, topic.c_str(), length, state.data(), kQos, true);
  }
}

void MqttPublisher::NetworkLoop() {
  const std::string where = BrokerAddress(target_);
  std::chrono::seconds delay = kReconnectFirst;
  while (!Stopping()) {
    if (!tlsProblem_.empty()) {
      TellOnce(tlsProblem_);
    } else if (const int connected = mosquitto_connect(client_, target_.host.c_str(), target_.port,
                                                       kKeepAliveSeconds);
               connected != MOSQ_ERR_SUCCESS) {
      TellOnce("MQTT broker " + where + " not reachable (" + mosquitto_strerror(connected) +
               "); retrying");
    } else {
      const bool accepted = RunConnection();
      Requeue();
      if (Stopping()) return;
      if (accepted) delay = kReconnectFirst;
      // A refusal was told with its reason when the broker answered.
      TellOnce(accepted ? "MQTT broker " + where + " connection lost; reconnecting"
                        : NoSessionReason(where));
    }
    if (!Pause(delay)) return;
    delay = NextDelay(delay);
  }
}

// Over TLS a handshake that fails, on a certificate the CA store does not trust or a host name it
// does not carry, shows only as a connection that gives no session.
std::string MqttPublisher::NoSessionReason(const std::string& where) const {
  if (target_.tls) {
    return "MQTT: no TLS session with " + where +
           " (is its certificate trusted by the CA store and made out to that host, and is it an "
           "MQTT broker?); retrying";
  }
  return "MQTT: " + where + " took the connection but gave no MQTT session " +
         "(is it an MQTT broker?); retrying";
}

std::chrono::seconds MqttPublisher::NextDelay(std::chrono::seconds delay) {
  return std::min(delay * 2, kReconnectLongest);
}

bool MqttPublisher::RunConnection() {
  const auto start = std::chrono::steady_clock::now();
  bool accepted = false;
  while (mosquitto_loop(client_, kLoopMilliseconds, 1) == MOSQ_ERR_SUCCESS) {
    if (Stopping()) {
      if (accepted) SetAvailability(kOffline, false);
      mosquitto_disconnect(client_);
      return accepted;
    }
    {
      const std::lock_guard lock(mutex_);
      accepted = accepted || connected_;
    }
    if (!accepted && std::chrono::steady_clock::now() - start > kSessionWait) {
      mosquitto_disconnect(client_);
      return false;
    }
    SendQueued();
  }
  return accepted;
}

void MqttPublisher::SendQueued() {
  for (;;) {
    Outgoing message;
    {
      const std::lock_guard lock(mutex_);
      if (!connected_ || queued_.empty()) return;
      message = std::move(queued_.front());
      queued_.pop_front();
    }
    int messageId = 0;
    const int result = mosquitto_publish(client_, &messageId, message.topic.c_str(),
                                         static_cast<int>(message.payload.size()),
                                         message.payload.data(), kQos, message.retain);
    const std::lock_guard lock(mutex_);
    if (result == MOSQ_ERR_SUCCESS) {
      sent_.push_back({messageId, std::move(message)});
    } else if (result == MOSQ_ERR_PAYLOAD_SIZE || result == MOSQ_ERR_INVAL ||
               result == MOSQ_ERR_MALFORMED_UTF8 || result == MOSQ_ERR_OVERSIZE_PACKET) {
      Tell(std::string("MQTT: a message could not be published: ") + mosquitto_strerror(result));
      changed_.notify_all();
    } else {
      queued_.push_front(std::move(message));  // the connection broke: the next one sends it
      return;
    }
  }
}

void MqttPublisher::Requeue() {
  {
    const std::lock_guard lock(mutex_);
    connected_ = false;
    for (auto sent = sent_.rbegin(); sent != sent_.rend(); ++sent)
      queued_.push_front(std::move(sent->message));
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
  const auto start = std::chrono::steady_clock::now();
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const auto until = start + (flushing_ ? std::min(delay, kReconnectWhileFlushing) : delay);
    if (std::chrono::steady_clock::now() >= until) return true;
    changed_.wait_until(lock, until);
  }
  return false;
}

void MqttPublisher::Publish(std::string payload, std::string_view header) {
  const std::lock_guard lock(mutex_);
  std::string retainedTopic = target_.HeaderTopic(header);
  const bool retained = target_.retainHeaders && !header.empty() &&
                        header.find('/') == std::string_view::npos &&
                        !MqttTopicProblem(retainedTopic);
  if (retained) queued_.push_back({std::move(retainedTopic), payload, true});
  queued_.push_back({target_.topic, std::move(payload), false});
}

std::size_t MqttPublisher::Flush(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  flushing_ = true;
  changed_.notify_all();
  changed_.wait_for(lock, limit, [this] { return queued_.empty() && sent_.empty(); });
  flushing_ = false;
  return queued_.size() + sent_.size();
}

void MqttPublisher::OnConnect(mosquitto*, void* self, int result) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  const std::lock_guard lock(publisher.mutex_);
  if (result != 0) {
    if (!publisher.toldLost_) {
      publisher.Tell("MQTT broker " + BrokerAddress(publisher.target_) + " refused the session: " +
                     mosquitto_connack_string(result) + "; retrying, less and less often");
    }
    publisher.toldLost_ = true;
    return;
  }
  publisher.connected_ = true;
  publisher.SetAvailability(kOnline, false);
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
