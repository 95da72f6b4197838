// seaherald-decode's output formats and network output as a user runs them: the NRX sentences
// parsed back into the filed text, the JSON objects against the filed messages, and the same
// sentences received as datagrams on a local socket.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "platform/CodePage.h"
#include "tests/relay/MqttTestBroker.h"
#include "tests/relay/NrxParsing.h"
#include "tests/relay/UdpListener.h"
#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"

namespace seaherald::roundtrip {
namespace {

namespace fs = std::filesystem;
using seaherald::testing::NrxGroup;
using Json = nlohmann::json;

const fs::path SamplePath = SEAHERALD_SOURCE_DIR "/samples/navtex-sample.wav";
constexpr std::size_t LogHeadBytes = 58;  // the three lines before a log file's body

std::string FiledBody(const fs::path& file) {
  return ReadBytes(file).substr(LogHeadBytes);
}

// Groups of sentences by their sequential identifier, in order of arrival.
std::vector<NrxGroup> GroupsIn(const std::vector<std::string>& sentences) {
  std::vector<NrxGroup> groups;
  std::vector<std::string> pending;
  for (const std::string& sentence : sentences) {
    pending.push_back(sentence);
    const auto fields = seaherald::testing::ParseSentence(sentence);
    if (!std::holds_alternative<std::vector<std::string>>(fields)) {
      ADD_FAILURE() << std::get<std::string>(fields);
      return groups;
    }
    const auto& f = std::get<std::vector<std::string>>(fields);
    if (f.size() < 3 || f[1] != f[2]) continue;  // not the group's last sentence yet
    auto group = seaherald::testing::ReassembleNrx(pending);
    if (auto* problem = std::get_if<std::string>(&group)) ADD_FAILURE() << *problem;
    if (auto* whole = std::get_if<NrxGroup>(&group)) groups.push_back(*whole);
    pending.clear();
  }
  EXPECT_TRUE(pending.empty()) << "a group was left incomplete";
  return groups;
}

// An English broadcast with commas (reserved in NMEA) and a line cut short by a bit error.
fs::path EnglishRecording(const ScratchDirectory& dir) {
  testsignal::Transmission broadcast = EnglishBroadcast(
      "ZCZC GA12\r\nNAVAREA XI, WARNING 123, 2026\r\nGUNNERY EXERCISE AREA\r\n"
      "POSITION 34-10N, 127-20E\r\nNNNN\r\n");
  broadcast.bitErrors.push_back({OffsetOf(broadcast, "EXERCISE"), testsignal::Copy::Dx, 2});
  const fs::path path = dir / "english.wav";
  testsignal::WriteAudioFile(path, AudioOf(broadcast), 1, testsignal::SignalSampleRate,
                             testsignal::AudioFileType::Wav);
  return path;
}

TEST(DecodeToolOutput, NmeaSentencesGiveBackTheFiledText) {
  const ScratchDirectory dir;
  const fs::path logs = dir / "logs";
  const ToolResult result = RunDecodeTool({"--format", "nmea", "--frequency", "490", "--log",
                                           logs.string(), EnglishRecording(dir).string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<NrxGroup> groups = GroupsIn(seaherald::testing::SplitSentences(result.out));
  ASSERT_EQ(groups.size(), 1u) << result.out;
  const NrxGroup& nrx = groups[0];
  EXPECT_GT(nrx.sentences, 1);
  EXPECT_EQ(nrx.header, "GA12");
  EXPECT_EQ(nrx.frequencyIndex, "1");
  EXPECT_EQ(nrx.badCharacters, 1);
  EXPECT_EQ(nrx.status, "A");
  std::string filed = FiledBody(logs / "GA12.txt");
  const std::size_t cut = filed.find("GUNNERY ...\r\n");
  ASSERT_NE(cut, std::string::npos) << filed;
  EXPECT_EQ(nrx.text, filed.replace(cut, 11, "GUNNERY *"));
}

// The sample holds an English and a Japanese message: both as JSON, the lines exactly as the
// text output prints them, the messages as they were filed; a second run finds them stored.
TEST(DecodeToolOutput, JsonLinesMatchTheTextOutputAndTheFiledMessages) {
  const ScratchDirectory dir;
  const fs::path logs = dir / "logs";
  const std::vector<std::string> args{"--format", "jsonl", "--log", logs.string(),
                                      SamplePath.string()};
  const ToolResult first = RunDecodeTool(args);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  std::vector<std::string> lineTexts;
  std::vector<Json> messages;
  for (const std::string& text : first.lines) {
    const Json object = Json::parse(text);
    if (object["kind"] == "line") {
      lineTexts.push_back(object["text"].get<std::string>() + (object["cut"] ? "..." : ""));
    } else {
      ASSERT_EQ(object["kind"], "message");
      messages.push_back(object);
    }
  }
  EXPECT_EQ(lineTexts, RunDecodeTool({SamplePath.string()}).lines);
  ASSERT_EQ(messages.size(), 2u);
  const CodePageConverter converter;
  for (const Json& message : messages) {
    EXPECT_EQ(message["filing"], "new");
    EXPECT_TRUE(message["filed"]);
    const std::string header = message["header"];
    std::string body = *converter.Utf8FromCp932(FiledBody(logs / (header + ".txt")));
    std::erase(body, '\r');
    EXPECT_EQ(message["text"], body);
    EXPECT_EQ(message["station"]["en"], "Naha");
  }
  EXPECT_EQ(messages[0]["language"], "en");
  EXPECT_EQ(messages[1]["language"], "ja");
  const ToolResult second = RunDecodeTool(args);
  EXPECT_NE(second.out.find("\"filing\":\"replaced\""), std::string::npos);
}

// The datagrams carry the English message whatever goes to standard output; the Japanese one
// has no NRX form.
TEST(DecodeToolOutput, UdpSendsTheSentencesWithAnyFormat) {
  const ScratchDirectory dir;
  const fs::path logs = dir / "logs";
  seaherald::testing::UdpListener plotter;
  const ToolResult result = RunDecodeTool(
      {"--udp", "127.0.0.1:" + plotter.Port(), "--log", logs.string(), SamplePath.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, RunDecodeTool({SamplePath.string()}).out);
  const std::vector<NrxGroup> groups = GroupsIn(plotter.Receive());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].header, "GA12");
  EXPECT_EQ(groups[0].frequencyIndex, "2");
  EXPECT_EQ(groups[0].text, FiledBody(logs / "GA12.txt"));
}

// Each completed message's JSON reaches a real broker; a broker that is down when the tool
// finishes decoding and comes up within the tool's final wait still gets everything.
TEST(DecodeToolOutput, MqttPublishesEveryMessageAlsoAcrossABrokerRestart) {
  using namespace std::chrono_literals;
  SEAHERALD_REQUIRE_BROKER();
  seaherald::testing::MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  seaherald::testing::MqttTestSubscriber subscriber(broker.Port(), "ship/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  const std::vector<std::string> args{"--mqtt", broker.Url(), "--mqtt-topic", "ship/navtex",
                                      SamplePath.string()};
  const ToolResult first = RunDecodeTool(args);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  std::vector<std::string> received = subscriber.WaitFor(2, 10s);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(Json::parse(received[0])["header"], "GA12");
  EXPECT_EQ(Json::parse(received[1])["header"], "ＧＡ１３０");
  EXPECT_EQ(Json::parse(received[1])["filing"], "not-filing");

  broker.Stop();
  auto run = std::async(std::launch::async, [&args] { return RunDecodeTool(args); });
  std::this_thread::sleep_for(1500ms);  // the tool's first retries fail; the one at 3 s succeeds
  ASSERT_TRUE(broker.Start());
  const ToolResult second = run.get();
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.err.find("not reachable"), std::string::npos) << second.err;
  received = subscriber.WaitFor(4, 20s);
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(Json::parse(received[2])["header"], "GA12");
  EXPECT_EQ(Json::parse(received[3])["header"], "ＧＡ１３０");
}

// A log folder that cannot be written (exit 3) must not also lose what went to the broker.
TEST(DecodeToolOutput, MessagesThatCouldNotBeFiledStillReachTheBroker) {
  using namespace std::chrono_literals;
  SEAHERALD_REQUIRE_BROKER();
  seaherald::testing::MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  seaherald::testing::MqttTestSubscriber subscriber(broker.Port(), "ship/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  const ScratchDirectory dir;
  std::ofstream(dir / "logs") << "a file, not a folder\n";
  const ToolResult result = RunDecodeTool({"--mqtt", broker.Url(), "--mqtt-topic", "ship/navtex",
                                           "--log", (dir / "logs").string(), SamplePath.string()});
  EXPECT_EQ(result.exitCode, 3) << result.err;
  const std::vector<std::string> received = subscriber.WaitFor(2, 10s);
  ASSERT_EQ(received.size(), 2u) << result.err;
  EXPECT_EQ(Json::parse(received[0])["filing"], "write-failed");
}

// Several receivers share a broker: without a topic, each publishes under its host name, and a
// dashboard finds each header's newest message retained.
TEST(DecodeToolOutput, AReceiverWithoutATopicPublishesUnderItsHostName) {
  using namespace std::chrono_literals;
  SEAHERALD_REQUIRE_BROKER();
  seaherald::testing::MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  seaherald::testing::MqttTestSubscriber subscriber(broker.Port(),
                                                    "seaherald/" + std::string(host));
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  const ToolResult result =
      RunDecodeTool({"--mqtt", broker.Url(), "--mqtt-retain-headers", SamplePath.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> received = subscriber.WaitFor(2, 10s);
  ASSERT_EQ(received.size(), 2u) << result.err;
  EXPECT_EQ(Json::parse(received[0])["header"], "GA12");
  EXPECT_EQ(Json::parse(received[0])["receiver"], host);
  seaherald::testing::MqttTestSubscriber dashboard(
      broker.Port(), "seaherald/" + std::string(host) + "/message/GA12");
  const std::vector<std::string> retained = dashboard.WaitFor(1, 10s);
  ASSERT_EQ(retained.size(), 1u);
  EXPECT_EQ(retained[0], received[0]);
}

// A client id given is the session's at the broker and names the receiver in every JSON object.
TEST(DecodeToolOutput, AClientIdNamesTheSessionAndTheReceiver) {
  using namespace std::chrono_literals;
  SEAHERALD_REQUIRE_BROKER();
  seaherald::testing::MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  seaherald::testing::MqttTestSubscriber subscriber(broker.Port(), "ship/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  const ToolResult result =
      RunDecodeTool({"--mqtt", broker.Url(), "--mqtt-topic", "ship/navtex", "--mqtt-client-id",
                     "bridge-1", "--format", "jsonl", SamplePath.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> received = subscriber.WaitFor(2, 10s);
  ASSERT_EQ(received.size(), 2u) << result.err;
  EXPECT_EQ(Json::parse(received[1])["receiver"], "bridge-1");
  const std::vector<std::string> ids = broker.ClientIds();
  EXPECT_NE(std::find(ids.begin(), ids.end(), "bridge-1"), ids.end());
  std::istringstream out(result.out);
  int messages = 0;
  for (std::string line; std::getline(out, line);) {
    const Json object = Json::parse(line);
    if (object["kind"] != "message") continue;
    ++messages;
    EXPECT_EQ(object["receiver"], "bridge-1");
  }
  EXPECT_EQ(messages, 2);
}

// The sample's Japanese message has no NRX form: said once, while JSON carries it with 424 kHz,
// for which the NRX frequency field stays empty.
TEST(DecodeToolOutput, TheJapaneseServiceIsToldAndCarriedWhereItCanBe) {
  const ToolResult nmea =
      RunDecodeTool({"--format", "nmea", "--frequency", "424", SamplePath.string()});
  ASSERT_EQ(nmea.exitCode, 0) << nmea.err;
  const std::vector<NrxGroup> groups = GroupsIn(seaherald::testing::SplitSentences(nmea.out));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].frequencyIndex, "");
  const std::size_t told = nmea.err.find("Japanese-language service are not sent as NRX");
  EXPECT_NE(told, std::string::npos) << nmea.err;
  EXPECT_EQ(nmea.err.find("Japanese-language", told + 1), std::string::npos) << "told twice";

  const ToolResult json =
      RunDecodeTool({"--format", "jsonl", "--frequency", "424", SamplePath.string()});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  int japanese = 0;
  for (const std::string& text : json.lines) {
    const Json object = Json::parse(text);
    if (object["kind"] == "message" && object["language"] == "ja") {
      EXPECT_EQ(object["frequency_khz"], 424);
      ++japanese;
    }
  }
  EXPECT_EQ(japanese, 1);
}

TEST(DecodeToolOutput, WrongOutputOptionsAreUsageErrors) {
  const std::vector<std::vector<std::string>> wrong{
      {"--format", "xml"},         {"--frequency", "500"},
      {"--udp", "localhost"},      {"--udp", "localhost:99999"},
      {"--mqtt", "http://broker"}, {"--mqtt", "mqtt://broker:0"},
      {"--mqtt-topic", "navtex"},  {"--mqtt", "mqtt://broker", "--mqtt-topic", "a/#"},
      {"--mqtt", "mqtt://::1"},    {"--udp", "no-such-host.invalid:10110"}};
  for (std::vector<std::string> args : wrong) {
    args.push_back(SamplePath.string());
    const ToolResult result = RunDecodeTool(args);
    EXPECT_EQ(result.exitCode, 2) << args[0] << " " << args[1];
    EXPECT_NE(result.err.find("seaherald-decode: "), std::string::npos);
  }
}

}  // namespace
}  // namespace seaherald::roundtrip
