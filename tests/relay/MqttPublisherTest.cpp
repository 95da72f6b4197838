// Publishing through a real mosquitto broker that the test starts, stops and starts again.
#include "relay/MqttPublisher.h"

#include <gtest/gtest.h>

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

TEST(MqttUrl, BrokerAddressesAreCheckedBeforeUse) {
  const auto target = std::get<MqttTarget>(ParseMqttUrl("mqtt://user:pa:ss@[::1]:8883/"));
  EXPECT_EQ(target.host, "::1");
  EXPECT_EQ(target.port, 8883);
  EXPECT_EQ(target.user, "user");
  EXPECT_EQ(target.password, "pa:ss");
  EXPECT_EQ(std::get<MqttTarget>(ParseMqttUrl("mqtt://broker")).port, 1883);
  for (const char* bad : {"broker:1883", "mqtts://broker", "mqtt://", "mqtt://broker:x",
                          "mqtt://broker:70000", "mqtt://broker/topic"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(ParseMqttUrl(bad))) << bad;
  }
}

}  // namespace
}  // namespace seaherald
