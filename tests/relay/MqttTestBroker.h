#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace seaherald::testing {

// A loopback TCP port that is free at the moment of asking.
int FreeLoopbackPort();

// A mosquitto broker of the test's own on a free loopback port, keeping its sessions on disk so
// that a subscriber's queue outlives a restart. Stop and Start again to restart it on the same
// port.
class MqttTestBroker {
 public:
  MqttTestBroker();
  // One that lets in only `user` with `password` (from a password file made by mosquitto_passwd).
  MqttTestBroker(const std::string& user, const std::string& password);
  // One with a second, TLS listener whose certificate names 127.0.0.1 and is signed by a CA made
  // here with openssl.
  struct WithTls {};
  explicit MqttTestBroker(WithTls);
  ~MqttTestBroker();
  MqttTestBroker(const MqttTestBroker&) = delete;
  MqttTestBroker& operator=(const MqttTestBroker&) = delete;

  // Why no broker can run here (no mosquitto program), or nothing.
  static std::optional<std::string> Problem();

  int Port() const { return port_; }
  // The broker's address as the tool's --mqtt option takes it.
  std::string Url() const { return "mqtt://127.0.0.1:" + std::to_string(port_); }
  int TlsPort() const { return tlsPort_; }
  // A folder holding only the test CA's certificate under its hash name, as /etc/ssl/certs does.
  std::filesystem::path CaFolder() const { return folder_ / "ca"; }
  // Starts the broker and waits until it takes connections; false when it does not.
  bool Start();
  // Ends it with SIGTERM, as a service manager would, and waits for it.
  void Stop();
  // How many session requests the broker has answered (accepted or refused), from its own log.
  int SessionsAnswered() const;
  // The client ids of the sessions the broker took, from its own log.
  std::vector<std::string> ClientIds() const;

 private:
  void WriteConfig(const std::string& accessLines);

  std::filesystem::path folder_;
  int port_ = 0;
  int tlsPort_ = 0;
  pid_t pid_ = -1;
};

// A subscriber with a session that the broker keeps (QoS 1, not a clean session): it reconnects by
// itself and gets what was published for it while it was away.
class MqttTestSubscriber {
 public:
  MqttTestSubscriber(int port, const std::string& topic);
  ~MqttTestSubscriber();
  MqttTestSubscriber(const MqttTestSubscriber&) = delete;
  MqttTestSubscriber& operator=(const MqttTestSubscriber&) = delete;

  // Waits until the subscription is acknowledged.
  bool WaitSubscribed(std::chrono::milliseconds limit);
  // Waits until at least `count` payloads arrived; returns all that did.
  std::vector<std::string> WaitFor(std::size_t count, std::chrono::milliseconds limit);

 private:
  static void OnConnect(mosquitto*, void* self, int result);
  static void OnSubscribe(mosquitto*, void* self, int, int, const int*);
  static void OnMessage(mosquitto*, void* self, const mosquitto_message* message);

  std::string topic_;
  mosquitto* client_ = nullptr;
  std::mutex mutex_;
  bool subscribed_ = false;
  std::vector<std::string> payloads_;
};

}  // namespace seaherald::testing

// Opens a broker test: fails when the environment demands a broker, skips otherwise.
#define SEAHERALD_REQUIRE_BROKER()                                                     \
  do {                                                                                 \
    if (const auto problem = ::seaherald::testing::MqttTestBroker::Problem()) {        \
      if (std::getenv("SEAHERALD_REQUIRE_BROKER") != nullptr) FAIL() << *problem;      \
      GTEST_SKIP() << *problem << " (set SEAHERALD_REQUIRE_BROKER=1 to fail instead)"; \
    }                                                                                  \
  } while (false)
