// The window's network outputs from the [Net] section of its settings file: NRX sentences over
// UDP for every message it files, nothing without the section, and values it cannot use told.
#include <QCoreApplication>

#include "msglog/MessageLog.h"
#include "tests/gui/WindowFixture.h"
#include "tests/relay/MqttTestBroker.h"
#include "tests/relay/NrxParsing.h"
#include "tests/relay/UdpListener.h"

namespace seaherald::test {
namespace {

class NetworkOutputsTest : public WindowTest {
 protected:
  void Receive(const std::string& header, int cutLines, bool secondReceiver = false) {
    MessageLog& log = secondReceiver ? Window().SecondLog() : Window().Log();
    log.AddReceivedLine("ZCZC " + header, false);
    log.AddReceivedLine("NAVAREA XI, 123", false);
    for (int i = 0; i < cutLines; ++i)
      log.AddReceivedLine("CUT", true);
    log.AddReceivedLine("NNNN", false);
    QCoreApplication::processEvents();
  }
  seaherald::testing::UdpListener plotter_;
};

TEST_F(NetworkOutputsTest, FiledMessagesGoOutAsNrxSentences) {
  WriteSettings("[Set]\nDecLang=1\nErrNum=2\n[Net]\nNrxUdp=127.0.0.1:" + plotter_.Port() +
                "\nNrxFreq=490\n");
  Receive("GA12", 0);
  Receive("GA13", 2);  // too many cut lines: not filed, not sent
  const auto datagrams = plotter_.Receive();
  const auto group = seaherald::testing::ReassembleNrx(datagrams);
  ASSERT_TRUE(std::holds_alternative<seaherald::testing::NrxGroup>(group))
      << std::get<std::string>(group);
  const auto& nrx = std::get<seaherald::testing::NrxGroup>(group);
  EXPECT_EQ(nrx.header, "GA12");
  EXPECT_EQ(nrx.frequencyIndex, "1");
  EXPECT_EQ(nrx.text, "NAVAREA XI, 123\r\n");
  EXPECT_TRUE(LogExists("GA12.txt"));
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(NetworkOutputsTest, WithoutTheSectionNothingIsSent) {
  WriteSettings("[Set]\nDecLang=1\n");
  Receive("GA12", 0);
  EXPECT_TRUE(plotter_.Receive(300).empty());
  EXPECT_TRUE(LogExists("GA12.txt"));
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(NetworkOutputsTest, UnusableValuesAreToldAndTheRestRuns) {
  WriteSettings("[Set]\nDecLang=1\n[Net]\nNrxUdp=127.0.0.1:" + plotter_.Port() +
                "\nMqttUrl=http://broker\nNrxFreq=500\n");
  Window();
  QCoreApplication::processEvents();
  ASSERT_EQ(dialogs_.errors.size(), 1u);  // gathered into one box
  EXPECT_NE(dialogs_.errors[0].find("MqttUrl"), std::string::npos);
  EXPECT_NE(dialogs_.errors[0].find("NrxFreq"), std::string::npos);
  Receive("GA12", 0);
  EXPECT_FALSE(plotter_.Receive().empty());
}

// The second receiver's NRX sentences carry its own frequency once it has one; until then, and
// the first receiver's always, the [Net] section's.
TEST_F(NetworkOutputsTest, SecondReceiversOwnFrequencyGoesIntoItsNrxSentences) {
  WriteSettings(
      "[Set]\nDecLang=1\nReceiver2=1\nDecLang2=1\n[Watch]\nNavFreq2=518\n[Net]\nNrxUdp=127.0.0.1:" +
      plotter_.Port() + "\nNrxFreq=490\n");
  Receive("GA12", 0);
  Receive("GB34", 0, true);
  Window().SettingsRecord().NavFreq2.clear();
  Receive("GB35", 0, true);
  std::vector<std::string> sent;
  std::vector<std::string> pending;
  for (const std::string& sentence : plotter_.Receive()) {
    pending.push_back(sentence);
    const auto group = seaherald::testing::ReassembleNrx(pending);
    if (const auto* whole = std::get_if<seaherald::testing::NrxGroup>(&group)) {
      sent.push_back(whole->header + " " + whole->frequencyIndex);
      pending.clear();
    }
  }
  EXPECT_EQ(sent, (std::vector<std::string>{"GA12 1", "GB34 2", "GB35 1"}));
}

// Messages of both receivers go out marked with their channel; one receiver's carry none.
TEST_F(NetworkOutputsTest, WithTwoReceiversEachMessageNamesItsChannel) {
  SEAHERALD_REQUIRE_BROKER();
  seaherald::testing::MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  seaherald::testing::MqttTestSubscriber subscriber(broker.Port(), "ship/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(std::chrono::seconds(10)));
  WriteSettings(
      "[Set]\nDecLang=1\nReceiver2=1\nDecLang2=1\n[Net]\nMqttTopic=ship/navtex\n"
      "MqttUrl=mqtt://127.0.0.1:" +
      std::to_string(broker.Port()) + "\n");
  Receive("GA12", 0);
  Receive("GB34", 0, true);
  Window().SettingsRecord().Receiver2 = false;
  Receive("GA13", 0);
  const auto payloads = subscriber.WaitFor(3, std::chrono::seconds(10));
  ASSERT_EQ(payloads.size(), 3u);
  const std::string expected[][2] = {{"GA12", "\"left\""}, {"GB34", "\"right\""}, {"GA13", ""}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(payloads[i].find(expected[i][0]), std::string::npos) << payloads[i];
    const std::size_t channel = payloads[i].find("\"channel\":");
    EXPECT_EQ(
        channel == std::string::npos ? "" : payloads[i].substr(channel + 10, expected[i][1].size()),
        expected[i][1])
        << payloads[i];
  }
}

}  // namespace
}  // namespace seaherald::test
