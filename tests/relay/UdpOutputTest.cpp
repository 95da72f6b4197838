// NRX datagrams received on a local socket, as a chart plotter listening on a port gets them.
#include <gtest/gtest.h>

#include "relay/NetworkOutputs.h"
#include "relay/UdpSender.h"
#include "tests/relay/NrxParsing.h"
#include "tests/relay/UdpListener.h"

namespace seaherald {
namespace {

using testing::UdpListener;

CompletedMessage EnglishMessage(FilingOutcome outcome) {
  std::string body;
  for (int i = 0; i < 6; ++i)
    body += "LINE " + std::to_string(i) + " OF A MESSAGE LONG ENOUGH FOR SEVERAL SENTENCES\r\n";
  return {"GA12", 0, body, 0, {2026, 12, 8, 5, 50, 3}, outcome};
}

TEST(UdpOutput, EachSentenceArrivesAsOneDatagramAndGivesBackTheText) {
  UdpListener plotter;
  NetworkOutputSettings settings;
  settings.nrxUdp = HostPort{"127.0.0.1", plotter.Port()};
  std::vector<std::string> reports;
  NetworkOutputs outputs(settings,
                         [&reports](const std::string& text) { reports.push_back(text); });
  const CompletedMessage message = EnglishMessage(FilingOutcome::kNotFiling);
  outputs.MessageCompleted(message);
  const CompletedMessage japanese{
      "\x82\x66\x82\x60\x82\x50\x82\x51\x82\x52", 1, "X\r\n", 0, {}, FilingOutcome::kWritten};
  outputs.MessageCompleted(japanese);  // none, and said once
  outputs.MessageCompleted(japanese);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("not sent as NRX"), std::string::npos) << reports[0];
  const std::vector<std::string> datagrams = plotter.Receive();
  ASSERT_GT(datagrams.size(), 3u);
  auto group = testing::ReassembleNrx(datagrams);
  ASSERT_TRUE(std::holds_alternative<testing::NrxGroup>(group)) << std::get<std::string>(group);
  EXPECT_EQ(std::get<testing::NrxGroup>(group).text, message.body);
}

// The window sends only what it files; a listener that is not there is no error.
TEST(UdpOutput, FiledOnlyLeavesOutMessagesThatWereNotFiled) {
  UdpListener plotter;
  NetworkOutputSettings settings;
  settings.nrxUdp = HostPort{"localhost", plotter.Port()};
  settings.filedOnly = true;
  NetworkOutputs outputs(settings, [](const std::string& problem) { ADD_FAILURE() << problem; });
  outputs.MessageCompleted(EnglishMessage(FilingOutcome::kKeptOlder));
  outputs.MessageCompleted(EnglishMessage(FilingOutcome::kTooManyErrors));
  EXPECT_TRUE(plotter.Receive(200).empty());
  outputs.MessageCompleted(EnglishMessage(FilingOutcome::kWritten));
  EXPECT_FALSE(plotter.Receive().empty());
}

// A plotter switched on halfway: the refusals of the port before it listened neither make later
// datagrams fail nor count as errors, and every sentence from then on arrives.
TEST(UdpOutput, APlotterThatStartsListeningLateGetsEveryDatagramFromThen) {
  std::string port;
  {
    const UdpListener switchedOff;
    port = switchedOff.Port();
  }
  std::vector<std::string> reports;
  NetworkOutputSettings settings;
  settings.nrxUdp = HostPort{"127.0.0.1", port};
  NetworkOutputs outputs(settings,
                         [&reports](const std::string& text) { reports.push_back(text); });
  const CompletedMessage message = EnglishMessage(FilingOutcome::kWritten);
  outputs.MessageCompleted(message);
  UdpListener plotter(std::stoi(port));
  outputs.MessageCompleted(message);
  const std::vector<std::string> datagrams = plotter.Receive();
  auto group = testing::ReassembleNrx(datagrams);
  ASSERT_TRUE(std::holds_alternative<testing::NrxGroup>(group)) << std::get<std::string>(group);
  EXPECT_EQ(std::get<testing::NrxGroup>(group).text, message.body);
  EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST(UdpOutput, AddressesAreCheckedBeforeUse) {
  EXPECT_EQ(ParseHostPort("192.168.1.255:10110")->host, "192.168.1.255");
  EXPECT_EQ(ParseHostPort("[::1]:10110")->host, "::1");
  EXPECT_EQ(ParseHostPort("plotter.local:2000")->port, "2000");
  for (const char* bad : {"10110", "host:", ":10110", "host:0", "host:65536", "host:12x", "::1:5",
                          "[::1]10110", "host:+5"}) {
    EXPECT_FALSE(ParseHostPort(bad)) << bad;
  }
  EXPECT_EQ(FormatHostPort({"::1", "10110"}), "[::1]:10110");
  EXPECT_EQ(FormatHostPort({"plotter", "10110"}), "plotter:10110");
  NetworkOutputSettings settings;
  settings.nrxUdp = HostPort{"no-such-host.invalid", "10110"};
  EXPECT_THROW(NetworkOutputs(settings, {}), std::runtime_error);
}

}  // namespace
}  // namespace seaherald
