// The watch through the command-line tool: station names of a chosen NAVAREA, the stations and
// types taken (the mandatory ones always), the alarm, and --on-message commands that fail, hang
// or read what they are given.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"

namespace seaherald::roundtrip {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using testsignal::Transmission;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

fs::path Recording(const ScratchDirectory& dir, const std::vector<std::string>& headers) {
  std::vector<Transmission> broadcasts;
  for (const std::string& header : headers)
    broadcasts.push_back(
        EnglishBroadcast("ZCZC " + header + "\r\nMESSAGE " + header + "\r\nNNNN\r\n"));
  const fs::path path = dir / "watch.wav";
  testsignal::WriteAudioFile(path, AudioOf(broadcasts), 1,
                             testsignal::SignalOptions{}.fsk.sampleRate,
                             testsignal::AudioFileType::Wav);
  return path;
}

std::vector<Json> MessagesOf(const ToolResult& result) {
  std::vector<Json> messages;
  for (const std::string& line : result.lines) {
    const Json object = Json::parse(line);
    if (object["kind"] == "message") messages.push_back(object);
  }
  return messages;
}

TEST(DecodeToolWatch, ChosenAreaNamesStationsAndOnlyTheChosenMessagesAreTaken) {
  const ScratchDirectory dir;
  const fs::path wav = Recording(dir, {"GE12", "GC13", "OE14", "GD15", "GC00"});
  const fs::path logs = dir / "logs";
  const ToolResult result =
      RunDecodeTool({"--navarea", "1", "--stations", "G", "--types", "e", "--format", "jsonl",
                     "--log", logs.string(), wav.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<Json> messages = MessagesOf(result);
  ASSERT_EQ(messages.size(), 3u) << result.out;
  EXPECT_EQ(messages[0]["header"], "GE12");
  EXPECT_EQ(messages[0]["station"]["en"], "Cullercoats");
  EXPECT_EQ(messages[0]["alarm"], false);
  EXPECT_EQ(messages[1]["header"], "GD15") << "search and rescue is taken whatever the types";
  EXPECT_EQ(messages[1]["alarm"], true);
  EXPECT_EQ(messages[2]["header"], "GC00") << "serial 00 is taken whatever the types";
  EXPECT_TRUE(fs::exists(logs / "GE12.txt"));
  EXPECT_FALSE(fs::exists(logs / "GC13.txt"));
  EXPECT_FALSE(fs::exists(logs / "OE14.txt"));
  EXPECT_NE(result.err.find("     2 not taken: station or type not selected"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("NAVAREA I, 518 kHz"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("G   Cullercoats"), std::string::npos) << result.err;
}

TEST(DecodeToolWatch, WithoutAnAreaTheCatalogueNamesStationsAndBadChoicesAreRefused) {
  const ScratchDirectory dir;
  const fs::path wav = Recording(dir, {"GA01"});
  const ToolResult plain = RunDecodeTool({"--format", "jsonl", wav.string()});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  ASSERT_EQ(MessagesOf(plain).size(), 1u);
  EXPECT_EQ(MessagesOf(plain)[0]["station"]["en"], "Naha");
  EXPECT_EQ(plain.err.find("NAVAREA"), std::string::npos);

  EXPECT_EQ(RunDecodeTool({"--navarea", "22", wav.string()}).exitCode, 2);
  EXPECT_EQ(RunDecodeTool({"--types", "A1", wav.string()}).exitCode, 2);
  const fs::path broken = dir / "stations.txt";
  std::ofstream(broken) << "1|518|G|Cullercoats\n";
  const ToolResult bad =
      RunDecodeTool({"--navarea", "1", "--station-list", broken.string(), wav.string()});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("line 1: expected 8 fields"), std::string::npos) << bad.err;
  const fs::path noArea = dir / "seaherald.ini";
  std::ofstream(noArea) << "[Watch]\nNavArea=0\n";
  const ToolResult unread = RunDecodeTool(
      {"--settings", noArea.string(), "--station-list", broken.string(), wav.string()});
  EXPECT_EQ(unread.exitCode, 2);
  EXPECT_NE(unread.err.find("--station-list needs --navarea"), std::string::npos) << unread.err;
  const ToolResult empty = RunDecodeTool({"--navarea", "5", "--frequency", "4209", wav.string()});
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.err.find("no station of NAVAREA V on 4209.5 kHz"), std::string::npos)
      << empty.err;
}

TEST(DecodeToolWatch, FailingAndHangingCommandsAreReportedAndReceptionGoesOn) {
  const ScratchDirectory dir;
  const fs::path wav = Recording(dir, {"GA01", "GD02"});
  const fs::path logs = dir / "logs";
  const ToolResult failing =
      RunDecodeTool({"--on-message", "sh -c 'exit 3'", "--log", logs.string(), wav.string()});
  EXPECT_EQ(failing.exitCode, 0) << failing.err;
  EXPECT_NE(failing.err.find("--on-message for GA01: the command exited with status 3"),
            std::string::npos)
      << failing.err;
  EXPECT_NE(failing.err.find("--on-message for GD02: the command exited with status 3"),
            std::string::npos);
  const ToolResult missing = RunDecodeTool({"--on-message", "/nonexistent/notify", wav.string()});
  EXPECT_NE(missing.err.find("could not be started"), std::string::npos) << missing.err;

  fs::remove_all(logs);
  const auto start = std::chrono::steady_clock::now();
  const ToolResult hanging = RunDecodeTool({"--on-message", "sleep 600", "--on-message-timeout",
                                            "1", "--log", logs.string(), wav.string()});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(hanging.exitCode, 0) << hanging.err;
  EXPECT_NE(hanging.err.find("--on-message for GD02: still running after 1 s; stopped"),
            std::string::npos)
      << hanging.err;
  EXPECT_TRUE(fs::exists(logs / "GA01.txt") && fs::exists(logs / "GD02.txt"));
  EXPECT_LT(took, std::chrono::seconds(300)) << "the hanging command was never stopped";
}

TEST(DecodeToolWatch, CommandGetsTheTextAndTheMessageInItsEnvironment) {
  const ScratchDirectory dir;
  const fs::path wav = Recording(dir, {"GA01", "GD02"});
  const fs::path out = dir / "out";
  fs::create_directories(out);
  const std::string script = "cat > '" + out.string() + "/'$SEAHERALD_HEADER.txt; env | sort | " +
                             "grep ^SEAHERALD_ > '" + out.string() + "/'$SEAHERALD_HEADER.env";
  const ToolResult result =
      RunDecodeTool({"--navarea=1", "--on-message", script, "--on-message-shell", wav.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadText(out / "GD02.txt"), "MESSAGE GD02\n");
  const std::string alarm = ReadText(out / "GD02.env");
  for (const char* variable :
       {"SEAHERALD_ALARM=1\n", "SEAHERALD_HEADER=GD02\n", "SEAHERALD_LANGUAGE=en\n",
        "SEAHERALD_STATION=G\n", "SEAHERALD_STATION_NAME=Cullercoats\n", "SEAHERALD_TYPE=D\n",
        "SEAHERALD_FILING=not-filing\n"}) {
    EXPECT_NE(alarm.find(variable), std::string::npos) << variable << " in\n" << alarm;
  }
  EXPECT_NE(ReadText(out / "GA01.env").find("SEAHERALD_ALARM=0\n"), std::string::npos);
  // A message the log folder cannot take still reaches the command: a full disk must not
  // silence the alarm it gives.
  const fs::path notAFolder = dir / "log-file";
  std::ofstream(notAFolder) << "a file\n";
  const fs::path told = dir / "told";
  const ToolResult unwritable = RunDecodeTool(
      {"--log", notAFolder.string(), "--on-message-shell", "--on-message",
       "echo $SEAHERALD_HEADER $SEAHERALD_FILING >> '" + told.string() + "'", wav.string()});
  EXPECT_EQ(unwritable.exitCode, 3) << unwritable.err;
  for (const char* run : {"GA01 write-failed\n", "GD02 write-failed\n"})
    EXPECT_NE(ReadText(told).find(run), std::string::npos) << run << unwritable.err;
  EXPECT_EQ(RunDecodeTool({"--on-message", "echo 'open", wav.string()}).exitCode, 2);
  // What the command prints stays off the tool's JSON lines.
  const ToolResult json =
      RunDecodeTool({"--format", "jsonl", "--on-message", "echo 'not JSON'", wav.string()});
  EXPECT_EQ(MessagesOf(json).size(), 2u) << json.out;
  EXPECT_NE(json.err.find("not JSON"), std::string::npos);
}

}  // namespace
}  // namespace seaherald::roundtrip
