// The [Net] section of the window's settings file.
#include "relay/NetworkSettingsFile.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace seaherald {
namespace {

class NetworkSettingsFileTest : public ::testing::Test {
 protected:
  NetworkSettingsFileTest() {
    path_ = std::filesystem::temp_directory_path() /
            ("seaherald-net-" + std::to_string(::getpid()) + ".ini");
  }
  ~NetworkSettingsFileTest() override { std::filesystem::remove(path_); }
  NetworkSettingsLoad Load(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    return LoadNetworkSettings(path_);
  }
  std::filesystem::path path_;
};

TEST_F(NetworkSettingsFileTest, EveryKeyIsReadAndOnlyFiledMessagesGoOut) {
  const NetworkSettingsLoad load = Load(
      "[Set]\r\nDecLang=1\r\n[net]\r\nnrxudp = 10.0.0.255:2000\r\nNrxFreq=4209\r\n"
      "MqttUrl=mqtt://u:p@broker:1884\r\nMqttTopic=ship/"
      "one\r\nMqttRetainHeaders=1\r\nMqttClientId=bridge-1\r\n");
  EXPECT_TRUE(load.problems.empty());
  ASSERT_TRUE(load.AnyOutput());
  EXPECT_EQ(load.settings.nrxUdp->host, "10.0.0.255");
  EXPECT_EQ(load.settings.frequency, NavtexFrequency::k4209);
  EXPECT_EQ(load.settings.mqtt->port, 1884);
  EXPECT_EQ(load.settings.mqtt->topic, "ship/one");
  EXPECT_TRUE(load.settings.mqtt->retainHeaders);
  EXPECT_EQ(load.settings.mqtt->clientId, "bridge-1");
  EXPECT_FALSE(Load("[Net]\nMqttUrl=mqtt://b\n").settings.mqtt->retainHeaders);
  EXPECT_TRUE(load.settings.filedOnly);
}

TEST_F(NetworkSettingsFileTest, NoSectionEmptyValuesAndNoFileMeanNoOutput) {
  EXPECT_FALSE(Load("[Set]\nDecLang=1\n").AnyOutput());
  const NetworkSettingsLoad empty = Load("[Net]\nNrxUdp=\nMqttUrl=\n");
  EXPECT_FALSE(empty.AnyOutput());
  EXPECT_TRUE(empty.problems.empty());
  EXPECT_EQ(empty.settings.frequency, NavtexFrequency::k518);
  std::filesystem::remove(path_);
  EXPECT_FALSE(LoadNetworkSettings(path_).AnyOutput());
}

TEST_F(NetworkSettingsFileTest, UnusableValuesAreNamedAndTheirOutputStaysOff) {
  const NetworkSettingsLoad load = Load(
      "[Net]\nNrxUdp=plotter\nNrxFreq=500\nMqttUrl=mqtt://b\nMqttRetainHeaders=yes\n"
      "MqttTopic=a/#\n");
  ASSERT_EQ(load.problems.size(), 4u);
  EXPECT_EQ(load.problems[0].key, "NrxUdp");
  EXPECT_EQ(load.problems[0].value, "plotter");
  EXPECT_EQ(load.problems[1].key, "NrxFreq");
  EXPECT_EQ(load.problems[2].key, "MqttRetainHeaders");
  EXPECT_EQ(load.problems[3].key, "MqttTopic");
  EXPECT_FALSE(load.settings.nrxUdp);
  EXPECT_FALSE(load.settings.mqtt) << "published under a topic the user did not ask for";
}

// The settings file is Shift-JIS; the broker gets the topic in UTF-8, or none at all.
TEST_F(NetworkSettingsFileTest, AJapaneseTopicReachesTheBrokerAsUtf8) {
  EXPECT_EQ(Load("[Net]\nMqttUrl=mqtt://b\nMqttTopic=\x91\x44/navtex\n").settings.mqtt->topic,
            "\xE8\x88\xB9/navtex");
  const NetworkSettingsLoad broken = Load("[Net]\nMqttUrl=mqtt://b\nMqttTopic=\x91/navtex\n");
  ASSERT_EQ(broken.problems.size(), 1u);
  EXPECT_EQ(broken.problems[0].key, "MqttTopic");
  EXPECT_FALSE(broken.settings.mqtt);
}

}  // namespace
}  // namespace seaherald
