#include "tests/relay/MqttTestBroker.h"

#include <mosquitto.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace seaherald::testing {
namespace {

using namespace std::chrono_literals;

std::optional<std::string> MosquittoProgram() {
  for (const char* candidate : {"/usr/sbin/mosquitto", "/usr/bin/mosquitto"}) {
    if (access(candidate, X_OK) == 0) return std::string(candidate);
  }
  return std::nullopt;
}

bool Accepts(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(s);
  return ok;
}

template <typename Condition>
bool Await(std::chrono::milliseconds limit, Condition done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

std::filesystem::path TemporaryFolder() {
  char pattern[] = "/tmp/seaherald-broker.XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
  return pattern;
}

}  // namespace

int FreeLoopbackPort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

std::optional<std::string> MqttTestBroker::Problem() {
  if (MosquittoProgram()) return std::nullopt;
  return "the mosquitto broker is not installed (package mosquitto)";
}

MqttTestBroker::MqttTestBroker() : folder_(TemporaryFolder()), port_(FreeLoopbackPort()) {
  WriteConfig("allow_anonymous true\n");
}

MqttTestBroker::MqttTestBroker(const std::string& user, const std::string& password)
    : folder_(TemporaryFolder()), port_(FreeLoopbackPort()) {
  WriteConfig("allow_anonymous false\npassword_file " + (folder_ / "passwords").string() + "\n");
  const std::string command = "mosquitto_passwd -c -b '" + (folder_ / "passwords").string() +
                              "' '" + user + "' '" + password + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("mosquitto_passwd failed");
}

MqttTestBroker::MqttTestBroker(WithTls)
    : folder_(TemporaryFolder()), port_(FreeLoopbackPort()), tlsPort_(FreeLoopbackPort()) {
  const std::string f = folder_.string() + "/";
  const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2";
  const std::string commands =
      "cd '" + f + "' && mkdir ca && printf 'subjectAltName=IP:127.0.0.1\n' > san && " +
      "openssl req -x509" + key + " -keyout ca.key -out ca/ca.pem -subj /CN=test-ca && " +
      "openssl req" + key + " -keyout server.key -out server.csr -subj /CN=127.0.0.1 && " +
      "openssl x509 -req -in server.csr -CA ca/ca.pem -CAkey ca.key -CAcreateserial -days 2 " +
      "-extfile san -out server.pem && openssl rehash ca";
  if (std::system(("(" + commands + ") >/dev/null 2>&1").c_str()) != 0)
    throw std::runtime_error("openssl could not make the test certificates");
  WriteConfig("allow_anonymous true\nlistener " + std::to_string(tlsPort_) + " 127.0.0.1\n" +
              "certfile " + f + "server.pem\nkeyfile " + f + "server.key\n");
}

void MqttTestBroker::WriteConfig(const std::string& accessLines) {
  std::ofstream config(folder_ / "mosquitto.conf");
  // Started as root, mosquitto would drop to its own user, which cannot write in our folder.
  const passwd* self = getpwuid(geteuid());
  if (self != nullptr) config << "user " << self->pw_name << "\n";
  config << "listener " << port_ << " 127.0.0.1\n"
         << accessLines << "persistence true\n"
         << "persistence_location " << folder_.string() << "/\n"
         << "log_type all\n"
         << "log_dest file " << (folder_ / "mosquitto.log").string() << "\n";
}

int MqttTestBroker::SessionsAnswered() const {
  std::ifstream log(folder_ / "mosquitto.log");
  int count = 0;
  for (std::string line; std::getline(log, line);)
    count += line.find("Sending CONNACK") != std::string::npos ? 1 : 0;
  return count;
}

std::vector<std::string> MqttTestBroker::ClientIds() const {
  std::ifstream log(folder_ / "mosquitto.log");
  std::vector<std::string> ids;
  // "New client connected from 127.0.0.1:40000 as ID (p2, c1, k30)."
  for (std::string line; std::getline(log, line);) {
    const std::size_t as = line.find(" as ");
    if (line.find("New client connected") == std::string::npos || as == std::string::npos) continue;
    ids.push_back(line.substr(as + 4, line.find(' ', as + 4) - as - 4));
  }
  return ids;
}

MqttTestBroker::~MqttTestBroker() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool MqttTestBroker::Start() {
  if (pid_ > 0) return true;
  const std::string program = MosquittoProgram().value_or("mosquitto");
  const std::string config = (folder_ / "mosquitto.conf").string();
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>("-c"),
                          const_cast<char*>(config.c_str()), nullptr};
  if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
    return false;
  }
  return Await(10s, [this] { return Accepts(port_) && (tlsPort_ == 0 || Accepts(tlsPort_)); });
}

void MqttTestBroker::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

MqttTestSubscriber::MqttTestSubscriber(int port, const std::string& topic) : topic_(topic) {
  mosquitto_lib_init();
  client_ = mosquitto_new("seaherald-test-subscriber", false, this);
  mosquitto_connect_callback_set(client_, &MqttTestSubscriber::OnConnect);
  mosquitto_subscribe_callback_set(client_, &MqttTestSubscriber::OnSubscribe);
  mosquitto_message_callback_set(client_, &MqttTestSubscriber::OnMessage);
  mosquitto_reconnect_delay_set(client_, 1, 1, false);
  mosquitto_connect_async(client_, "127.0.0.1", port, 30);
  mosquitto_loop_start(client_);
}

MqttTestSubscriber::~MqttTestSubscriber() {
  mosquitto_disconnect(client_);
  mosquitto_loop_stop(client_, false);
  mosquitto_destroy(client_);
}

bool MqttTestSubscriber::WaitSubscribed(std::chrono::milliseconds limit) {
  return Await(limit, [this] {
    const std::lock_guard lock(mutex_);
    return subscribed_;
  });
}

std::vector<std::string> MqttTestSubscriber::WaitFor(std::size_t count,
                                                     std::chrono::milliseconds limit) {
  Await(limit, [&] {
    const std::lock_guard lock(mutex_);
    return payloads_.size() >= count;
  });
  const std::lock_guard lock(mutex_);
  return payloads_;
}

void MqttTestSubscriber::OnConnect(mosquitto* client, void* self, int result) {
  if (result == 0)
    mosquitto_subscribe(client, nullptr, static_cast<MqttTestSubscriber*>(self)->topic_.c_str(), 1);
}

void MqttTestSubscriber::OnSubscribe(mosquitto*, void* self, int, int, const int*) {
  auto& subscriber = *static_cast<MqttTestSubscriber*>(self);
  const std::lock_guard lock(subscriber.mutex_);
  subscriber.subscribed_ = true;
}

void MqttTestSubscriber::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
  auto& subscriber = *static_cast<MqttTestSubscriber*>(self);
  const std::lock_guard lock(subscriber.mutex_);
  subscriber.payloads_.emplace_back(static_cast<const char*>(message->payload),
                                    static_cast<std::size_t>(message->payloadlen));
}

}  // namespace seaherald::testing
