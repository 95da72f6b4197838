// Publishing through a real mosquitto broker that the test starts, stops and starts again.
#include "relay/MqttPublisher.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "tests/relay/MqttTestBroker.h"

namespace seaherald {
namespace {

using namespace std::chrono_literals;
using testing::MqttTestBroker;
using testing::MqttTestSubscriber;

MqttTarget Target(int port) {
  MqttTarget target;
  target.host = "127.0.0.1";
  target.port = port;
  target.topic = "test/navtex";
  return target;
}

// Everything the publisher reports, kept for the test to read.
class Reports {
 public:
  std::function<void(const std::string&)> Sink() {
    return [this](const std::string& text) {
      const std::lock_guard lock(mutex_);
      texts_.push_back(text);
    };
  }
  std::vector<std::string> Texts() {
    const std::lock_guard lock(mutex_);
    return texts_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> texts_;
};

// A TCP port where something that is not a broker answers (as a web server would) and hangs up.
class NotABroker {
 public:
  NotABroker() : socket_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(socket_, 8);
    server_ = std::thread([this] {
      for (int client; (client = accept(socket_, nullptr, nullptr)) >= 0; close(client)) {
        ++accepted_;
        const std::string_view answer = "HTTP/1.0 400 Bad Request\r\n\r\n";
        (void)!write(client, answer.data(), answer.size());
      }
    });
  }
  ~NotABroker() {
    shutdown(socket_, SHUT_RDWR);
    server_.join();
    close(socket_);
  }
  int Port() const { return port_; }
  int Accepted() const { return accepted_; }

 private:
  int socket_;
  int port_ = 0;
  std::atomic<int> accepted_{0};
  std::thread server_;
};

// Nothing published while the broker restarts is lost, nothing is delivered twice out of order,
// and the publisher reports the loss and the return.
TEST(MqttPublisher, MessagesPublishedWhileTheBrokerRestartsArriveWhenItIsBack) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  MqttTestSubscriber subscriber(broker.Port(), "test/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  std::vector<std::string> reports;
  std::mutex reportsMutex;
  MqttPublisher publisher(Target(broker.Port()), [&](const std::string& text) {
    const std::lock_guard lock(reportsMutex);
    reports.push_back(text);
  });
  publisher.Publish("one");
  EXPECT_EQ(publisher.Flush(10s), 0u);
  EXPECT_EQ(subscriber.WaitFor(1, 10s), std::vector<std::string>{"one"});

  broker.Stop();
  publisher.Publish("two");
  publisher.Publish("three");
  EXPECT_EQ(publisher.Flush(1s), 2u) << "acknowledged by a broker that is not there";
  ASSERT_TRUE(broker.Start());
  EXPECT_EQ(publisher.Flush(30s), 0u);
  std::vector<std::string> received = subscriber.WaitFor(3, 30s);
  EXPECT_EQ(received, (std::vector<std::string>{"one", "two", "three"}));
  const std::lock_guard lock(reportsMutex);
  ASSERT_GE(reports.size(), 2u);
  EXPECT_NE(reports.front().find("lost"), std::string::npos) << reports.front();
  EXPECT_NE(reports.back().find("connected again"), std::string::npos) << reports.back();
}

// The subscriber's session is made first, so the broker keeps for it what arrives while it
// reconnects.
TEST(MqttPublisher, APublisherStartedBeforeItsBrokerDeliversOnceTheBrokerIsUp) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  MqttTestSubscriber subscriber(broker.Port(), "test/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  broker.Stop();
  MqttPublisher publisher(Target(broker.Port()));
  publisher.Publish("early");
  EXPECT_EQ(publisher.Flush(1500ms), 1u);
  ASSERT_TRUE(broker.Start());
  EXPECT_EQ(publisher.Flush(30s), 0u);
  EXPECT_EQ(subscriber.WaitFor(1, 20s), std::vector<std::string>{"early"});
}

// A broker that refuses the log-in is asked again after 1, 2, 4 ... seconds, not thousands of
// times a second, and the refusal is told once with the broker's reason.
TEST(MqttPublisher, RefusedCredentialsAreToldOnceAndRetriedLessAndLessOften) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker("navtex", "right");
  ASSERT_TRUE(broker.Start());
  MqttTarget target = Target(broker.Port());
  target.user = "navtex";
  target.password = "wrong";
  Reports reports;
  {
    MqttPublisher refused(target, reports.Sink());
    refused.Publish("kept");
    std::this_thread::sleep_for(4s);  // attempts at about 0, 1 and 3 s
    const int attempts = broker.SessionsAnswered();
    EXPECT_GE(attempts, 2);
    EXPECT_LE(attempts, 3);
    EXPECT_EQ(refused.Flush(0ms), 1u);
  }
  const std::vector<std::string> told = reports.Texts();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("not authorised"), std::string::npos) << told[0];

  target.password = "right";
  MqttPublisher accepted(target);
  accepted.Publish("let in");
  EXPECT_EQ(accepted.Flush(10s), 0u);
}

TEST(MqttPublisher, APortThatIsNoBrokerIsToldOnceAndNotHammered) {
  const NotABroker web;
  Reports reports;
  {
    MqttPublisher publisher(Target(web.Port()), reports.Sink());
    publisher.Publish("kept");
    std::this_thread::sleep_for(4s);
    const int attempts = web.Accepted();
    EXPECT_GE(attempts, 2);
    EXPECT_LE(attempts, 3);
    EXPECT_EQ(publisher.Flush(0ms), 1u);
  }
  const std::vector<std::string> told = reports.Texts();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("is it an MQTT broker"), std::string::npos) << told[0];
}

// After 7 s away the next attempt would be 8 s later; the end-of-run wait tries every second.
TEST(MqttPublisher, ABrokerBackDuringTheFinalWaitIsFoundInTime) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker;
  MqttPublisher publisher(Target(broker.Port()));
  publisher.Publish("late");
  std::this_thread::sleep_for(7500ms);
  ASSERT_TRUE(broker.Start());
  EXPECT_EQ(publisher.Flush(4s), 0u);
}

// Dashboards see whether the receiver is there: retained "online" while it is connected,
// "offline" once it has ended, also for a subscriber that comes later.
TEST(MqttPublisher, AvailabilityIsOnlineWhileConnectedAndOfflineAfterTheEnd) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  {
    MqttTestSubscriber watcher(broker.Port(), "test/navtex/status");
    ASSERT_TRUE(watcher.WaitSubscribed(10s));
    {
      MqttPublisher publisher(Target(broker.Port()));
      publisher.Publish("message");
      EXPECT_EQ(publisher.Flush(10s), 0u);
      EXPECT_EQ(watcher.WaitFor(1, 10s), std::vector<std::string>{"online"});
    }
    EXPECT_EQ(watcher.WaitFor(2, 10s), (std::vector<std::string>{"online", "offline"}));
  }
  MqttTestSubscriber later(broker.Port(), "test/navtex/status");
  EXPECT_EQ(later.WaitFor(1, 10s), std::vector<std::string>{"offline"});
}

// A dashboard subscribing late finds the newest message of each header, and only those: the
// stream of all messages is not retained.
TEST(MqttPublisher, RetainedHeaderTopicsHoldTheNewestMessageOfEachHeader) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  MqttTarget target = Target(broker.Port());
  target.retainHeaders = true;
  {
    MqttPublisher publisher(target);
    publisher.Publish("GA12 first", "GA12");
    publisher.Publish("GB01", "GB01");
    publisher.Publish("GA12 again", "GA12");
    publisher.Publish("no header");
    EXPECT_EQ(publisher.Flush(10s), 0u);
  }
  MqttTestSubscriber dashboard(broker.Port(), "test/navtex/message/#");
  std::vector<std::string> retained = dashboard.WaitFor(3, 3s);
  std::sort(retained.begin(), retained.end());
  EXPECT_EQ(retained, (std::vector<std::string>{"GA12 again", "GB01"}));
  MqttTestSubscriber stream(broker.Port(), "test/navtex");
  ASSERT_TRUE(stream.WaitSubscribed(10s));
  EXPECT_EQ(stream.WaitFor(1, 1s), std::vector<std::string>{});
}

// TLS reaches a broker whose certificate chains to a CA of the store; the system's store, which
// lacks the test CA, lets nothing out, and says so.
TEST(MqttPublisher, TlsReachesOnlyABrokerTheStoreTrusts) {
  SEAHERALD_REQUIRE_BROKER();
  MqttTestBroker broker(MqttTestBroker::WithTls{});
  ASSERT_TRUE(broker.Start());
  MqttTestSubscriber subscriber(broker.Port(), "test/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  auto target =
      std::get<MqttTarget>(ParseMqttUrl("mqtts://127.0.0.1:" + std::to_string(broker.TlsPort())));
  target.topic = "test/navtex";
  {
    Reports reports;
    MqttPublisher untrusting(target, reports.Sink());
    untrusting.Publish("to an unknown CA");
    EXPECT_EQ(untrusting.Flush(2s), 1u);
    ASSERT_EQ(reports.Texts().size(), 1u);
    EXPECT_NE(reports.Texts()[0].find("TLS"), std::string::npos) << reports.Texts()[0];
  }
  target.caPath = broker.CaFolder().string();
  MqttPublisher trusting(target);
  trusting.Publish("over TLS");
  EXPECT_EQ(trusting.Flush(10s), 0u);
  EXPECT_EQ(subscriber.WaitFor(1, 10s), std::vector<std::string>{"over TLS"});
}

TEST(MqttUrl, BrokerAddressesAreCheckedBeforeUse) {
  const auto target = std::get<MqttTarget>(ParseMqttUrl("mqtt://user:pa:ss@[::1]:8883/"));
  EXPECT_EQ(target.host, "::1");
  EXPECT_EQ(target.port, 8883);
  EXPECT_EQ(target.user, "user");
  EXPECT_EQ(target.password, "pa:ss");
  EXPECT_EQ(std::get<MqttTarget>(ParseMqttUrl("mqtt://broker")).port, 1883);
  EXPECT_FALSE(std::get<MqttTarget>(ParseMqttUrl("mqtt://broker")).tls);
  const auto secure = std::get<MqttTarget>(ParseMqttUrl("mqtts://u@broker"));
  EXPECT_TRUE(secure.tls);
  EXPECT_EQ(secure.port, 8883);
  EXPECT_EQ(secure.user, "u");
  const auto loopback6 = std::get<MqttTarget>(ParseMqttUrl("mqtt://[::1]"));
  EXPECT_EQ(loopback6.host, "::1");
  EXPECT_EQ(loopback6.port, 1883);
  for (const char* bad :
       {"broker:1883", "mqtts://", "http://broker", "mqtt://", "mqtt://broker:x",
        "mqtt://broker:70000", "mqtt://broker/topic", "mqtt://::1", "mqtt://[::1", "mqtt://[]"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseMqttUrl(bad))) << bad;
  }
}

// The URL wins; the environment fills in what it leaves out, and a password needs a user.
TEST(MqttUrl, TheEnvironmentGivesTheLogInTheUrlLeavesOut) {
  const auto target = [](const char* url) { return std::get<MqttTarget>(ParseMqttUrl(url)); };
  const MqttTarget both = WithCredentialsFrom(target("mqtt://broker"), "navtex", "secret");
  EXPECT_EQ(both.user + ":" + both.password, "navtex:secret");
  const MqttTarget named = WithCredentialsFrom(target("mqtt://me@broker"), "navtex", "secret");
  EXPECT_EQ(named.user + ":" + named.password, "me:secret");
  const MqttTarget url = WithCredentialsFrom(target("mqtt://me:pw@broker"), "navtex", "secret");
  EXPECT_EQ(url.user + ":" + url.password, "me:pw");
  const MqttTarget alone = WithCredentialsFrom(target("mqtt://broker"), nullptr, "secret");
  EXPECT_EQ(alone.user + ":" + alone.password, ":");
}

TEST(MqttTopic, OnlyTopicsABrokerTakesAreAccepted) {
  EXPECT_FALSE(MqttTopicProblem("ship/navtex"));
  EXPECT_FALSE(MqttTopicProblem("\xE8\x88\xB9/navtex"));  // UTF-8
  EXPECT_TRUE(MqttTopicProblem("\x91\x44/navtex"));       // the same word in Shift-JIS
  for (const char* bad : {"", "ship/#", "ship/+/navtex"})
    EXPECT_TRUE(MqttTopicProblem(bad)) << bad;
}

}  // namespace
}  // namespace seaherald
