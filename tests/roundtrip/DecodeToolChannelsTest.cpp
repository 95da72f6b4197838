// seaherald-decode with two receivers: a generated stereo broadcast with different, overlapping
// messages on each channel, filed into one folder, against what each receiver alone prints.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/relay/MqttTestBroker.h"
#include "tests/relay/NrxParsing.h"
#include "tests/relay/UdpListener.h"
#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

namespace fs = std::filesystem;
using testsignal::Transmission;

Transmission EnglishMessage(const std::string& header, const std::vector<std::string>& body) {
  std::string text = "ZCZC " + header + "\r\n";
  for (const std::string& line : body)
    text += line + "\r\n";
  return EnglishBroadcast(text + "NNNN\r\n");
}

// A bit error in the first copy of `word`'s first letter: that line is handed over cut short.
Transmission WithCutLine(Transmission transmission, const std::string& word) {
  transmission.bitErrors.push_back({OffsetOf(transmission, word), testsignal::Copy::Dx, 2});
  return transmission;
}

// One channel's audio: each broadcast starting at its own second.
struct Placed {
  Transmission broadcast;
  double startSeconds;
};

std::vector<std::int16_t> ChannelAudio(const std::vector<Placed>& placed, int rate,
                                       bool inverted = false) {
  testsignal::SignalOptions options;
  options.fsk.sampleRate = rate;
  options.inverted = inverted;
  std::vector<std::int16_t> audio;
  for (const Placed& p : placed) {
    const std::vector<std::int16_t> samples = AudioOf(p.broadcast, options);
    const auto start = static_cast<std::size_t>(p.startSeconds * rate);
    if (audio.size() < start + samples.size()) audio.resize(start + samples.size());
    std::copy(samples.begin(), samples.end(), audio.begin() + static_cast<std::ptrdiff_t>(start));
  }
  return audio;
}

double SecondsOf(const Transmission& broadcast) {
  return static_cast<double>(AudioOf(broadcast).size()) / testsignal::SignalSampleRate;
}

// With `raw`, the same frames also go there as raw PCM (16-bit little-endian), as from an SDR.
fs::path WriteChannels(const fs::path& path, const std::vector<std::vector<std::int16_t>>& channels,
                       int rate, const fs::path& raw = {}) {
  std::size_t frames = 0;
  for (const auto& channel : channels)
    frames = std::max(frames, channel.size());
  std::vector<std::int16_t> interleaved;
  for (std::size_t f = 0; f < frames; ++f) {
    for (const auto& channel : channels)
      interleaved.push_back(f < channel.size() ? channel[f] : std::int16_t{0});
  }
  testsignal::WriteAudioFile(path, interleaved, static_cast<int>(channels.size()), rate,
                             testsignal::AudioFileType::Wav);
  if (!raw.empty()) {
    std::ofstream out(raw, std::ios::binary);
    for (const std::int16_t sample : interleaved)
      out.put(static_cast<char>(sample & 0xFF)).put(static_cast<char>((sample >> 8) & 0xFF));
  }
  return path;
}

const std::string JapaneseText =
    "ＺＣＺＣ　ＬＡ０４２\r\n気象警報\r\n波の高さ　４メートル\r\nＮＮＮＮ\r\n";

// Left: English GA12, then KB07 with a cut line, then GA14 clean. Right, each starting while the
// left one is still on the air: the Japanese LA042, then KB07 clean (ending later: it replaces
// the stored cut copy), then GA14 with a cut line (the stored clean copy stays).
struct StereoBroadcast {
  explicit StereoBroadcast(const fs::path& path, int rate = testsignal::SignalSampleRate) {
    const Transmission ga12 = EnglishMessage("GA12", {"STORM WARNING", "WIND NE 9"});
    const Transmission la042 = JapaneseBroadcast(JapaneseText);
    const Transmission kb07 = EnglishMessage("KB07", {"GALE WARNING", "WIND SW 8 LATER"});
    const Transmission ga14 = EnglishMessage("GA14", {"FOG IN THE STRAIT", "VIS POOR"});
    constexpr double Lag = 1.5;
    const double second = std::max(SecondsOf(ga12), Lag + SecondsOf(la042)) + 1.0;
    const double third = second + Lag + SecondsOf(kb07) + 1.0;
    const auto left =
        ChannelAudio({{ga12, 0.0}, {WithCutLine(kb07, "LATER"), second}, {ga14, third}}, rate);
    const auto right = ChannelAudio(
        {{la042, Lag}, {kb07, second + Lag}, {WithCutLine(ga14, "POOR"), third + Lag}}, rate);
    raw = fs::path(path).replace_extension(".raw");
    file = WriteChannels(path, {left, right}, rate, raw);
    extra = WriteChannels(path.parent_path() / ("three-" + path.filename().string()),
                          {std::vector<std::int16_t>(left.size() / 4, 0), right, left}, rate);
  }
  fs::path file;
  fs::path raw;    // the two channels as raw PCM
  fs::path extra;  // three channels: silence, the right channel, the left channel
};

// The lines printed for `channel`, without its name.
std::vector<std::string> LinesOfChannel(const std::vector<std::string>& lines,
                                        const std::string& channel) {
  std::vector<std::string> taken;
  const std::string prefix = channel + ": ";
  for (const std::string& line : lines) {
    if (line.starts_with(prefix)) taken.push_back(line.substr(prefix.size()));
  }
  return taken;
}

std::string SummaryLine(int count, const std::string& outcome) {
  std::string number = std::to_string(count);
  return std::string(6 - number.size(), ' ') + number + " " + outcome + "\n";
}

// The log file after its stamp line.
std::string AfterStamp(const fs::path& path) {
  const std::string content = ReadBytes(path);
  const std::size_t lineEnd = content.find("\r\n");
  return lineEnd == std::string::npos ? content : content.substr(lineEnd + 2);
}

class DecodeToolChannels : public ::testing::Test {
 protected:
  ScratchDirectory dir_;
  StereoBroadcast stereo_{dir_ / "stereo.wav"};
};

TEST_F(DecodeToolChannels, BothChannelsFileIntoOneFolderAndTheBetterCopyOfAHeaderStays) {
  const fs::path logs = dir_ / "logs";
  const ToolResult both = RunDecodeTool(
      {"--channel", "both", "--lang", "en,ja", "--log", logs.string(), stereo_.file.string()});
  ASSERT_EQ(both.exitCode, 0) << both.err;
  const auto left = LinesOfChannel(both.lines, "left");
  const auto right = LinesOfChannel(both.lines, "right");
  EXPECT_EQ(left.size() + right.size(), both.lines.size()) << "every line names its channel";
  ASSERT_GE(left.size(), 4u) << both.out;
  ASSERT_GE(right.size(), 4u) << both.out;
  EXPECT_EQ(std::vector<std::string>(left.begin(), left.begin() + 4),
            (std::vector<std::string>{"ZCZC GA12", "STORM WARNING", "WIND NE 9", "NNNN"}));
  EXPECT_EQ(std::vector<std::string>(right.begin(), right.begin() + 4),
            (std::vector<std::string>{"ＺＣＺＣ　ＬＡ０４２", "気象警報", "波の高さ　４メートル",
                                      "ＮＮＮＮ"}));
  // The overlapping copies of one header: each receiver kept its own message in progress.
  EXPECT_NE(std::find(left.begin(), left.end(), "WIND SW 8 ..."), left.end()) << both.out;
  EXPECT_NE(std::find(right.begin(), right.end(), "WIND SW 8 LATER"), right.end()) << both.out;
  EXPECT_NE(std::find(left.begin(), left.end(), "VIS POOR"), left.end()) << both.out;
  EXPECT_NE(std::find(right.begin(), right.end(), "VIS ..."), right.end()) << both.out;

  ASSERT_EQ(FilesIn(logs),
            (std::vector<fs::path>{"GA12.txt", "GA14.txt", "KB07.txt", "ＬＡ０４２.txt"}));
  EXPECT_EQ(AfterStamp(logs / "KB07.txt"),
            "Detected 000 error\r\n-\r\nGALE WARNING\r\nWIND SW 8 LATER\r\n");
  EXPECT_EQ(AfterStamp(logs / "GA14.txt"),
            "Detected 000 error\r\n-\r\nFOG IN THE STRAIT\r\nVIS POOR\r\n");
  EXPECT_NE(both.err.find("messages of channel left in '" + logs.string() + "':\n" +
                          SummaryLine(3, "filed as a new log file") +
                          SummaryLine(0, "replaced a stored copy with as many or more errors") +
                          SummaryLine(0, "dropped: the stored copy has fewer errors")),
            std::string::npos)
      << both.err;
  EXPECT_NE(both.err.find("messages of channel right in '" + logs.string() + "':\n" +
                          SummaryLine(1, "filed as a new log file") +
                          SummaryLine(1, "replaced a stored copy with as many or more errors") +
                          SummaryLine(1, "dropped: the stored copy has fewer errors")),
            std::string::npos)
      << both.err;
}

TEST_F(DecodeToolChannels, EachReceiverPrintsWhatItWouldPrintAlone) {
  const ToolResult both = RunDecodeTool({"--channel=both", "--lang=en,ja", stereo_.file.string()});
  ASSERT_EQ(both.exitCode, 0) << both.err;
  const ToolResult plain = RunDecodeTool({"--lang", "en", stereo_.file.string()});
  const ToolResult left =
      RunDecodeTool({"--channel", "left", "--lang", "en", stereo_.file.string()});
  const ToolResult right =
      RunDecodeTool({"--channel", "right", "--lang", "ja", stereo_.file.string()});
  ASSERT_EQ(right.exitCode, 0) << right.err;
  EXPECT_EQ(left.out, plain.out) << "--channel left is the default, byte for byte";
  EXPECT_EQ(LinesOfChannel(both.lines, "left"), plain.lines);
  EXPECT_EQ(LinesOfChannel(both.lines, "right"), right.lines);
  EXPECT_EQ(right.lines.front(), "ＺＣＺＣ　ＬＡ０４２");

  // Any two channels of a recording with more, named by their numbers.
  const ToolResult picked =
      RunDecodeTool({"--channel", "3,2", "--lang", "en,ja", stereo_.extra.string()});
  ASSERT_EQ(picked.exitCode, 0) << picked.err;
  EXPECT_EQ(LinesOfChannel(picked.lines, "3"), plain.lines);
  EXPECT_EQ(LinesOfChannel(picked.lines, "2"), right.lines);
}

TEST_F(DecodeToolChannels, OtherSampleRatesResampleBothChannels) {
  const StereoBroadcast resampled(dir_ / "stereo-48k.wav", 48000);
  const ToolResult both = RunDecodeTool({"--channel=both", "--lang=en,ja", stereo_.file.string()});
  const ToolResult other =
      RunDecodeTool({"--channel=both", "--lang=en,ja", resampled.file.string()});
  ASSERT_EQ(other.exitCode, 0) << other.err;
  EXPECT_EQ(other.out, both.out);
}

// An SDR pipeline's interleaved PCM on standard input decodes and files as the recording does,
// at its own sample rate too; layouts that cannot be are refused.
TEST_F(DecodeToolChannels, StereoPcmOnStandardInputFilesEachChannel) {
  const fs::path logs = dir_ / "logs";
  const ToolResult piped = RunDecodeTool({"--input-channels", "2", "--channel", "both", "--lang",
                                          "en,ja", "--log", logs.string(), "-"},
                                         stereo_.raw);
  ASSERT_EQ(piped.exitCode, 0) << piped.err;
  const ToolResult recorded =
      RunDecodeTool({"--channel", "both", "--lang", "en,ja", stereo_.file.string()});
  EXPECT_EQ(piped.out, recorded.out);
  EXPECT_EQ(FilesIn(logs),
            (std::vector<fs::path>{"GA12.txt", "GA14.txt", "KB07.txt", "ＬＡ０４２.txt"}));

  const StereoBroadcast resampled(dir_ / "stereo-48k.wav", 48000);
  const std::vector<std::string> at48k{"--input-channels=2", "--input-rate=48000", "--channel=both",
                                       "--lang=en,ja", "-"};
  EXPECT_EQ(RunDecodeTool(at48k, resampled.raw).out, recorded.out);
  // One sample more: the last frame is cut off, which is told after decoding.
  { std::ofstream(resampled.raw, std::ios::binary | std::ios::app).write("\x01\x02", 2); }
  const ToolResult cut = RunDecodeTool(at48k, resampled.raw);
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NE(cut.err.find("middle of a frame of 2 channels"), std::string::npos) << cut.err;

  const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
      {{"--input-channels", "0", "-"}, "--input-channels must be a whole number from 1 to 256"},
      {{"--input-rate", "100", "-"}, "--input-rate must be a whole number of Hz from 173"},
      {{"--input-channels", "2", stereo_.file.string()}, "describe raw PCM on standard input"},
      {{"--input-channels", "2", "--channel", "1,3", "-"}, "cannot pick channel 3"},
  };
  for (const auto& [args, problem] : refused) {
    const ToolResult result = RunDecodeTool(args);
    EXPECT_EQ(result.exitCode, 2) << args[0] << " " << args[1];
    EXPECT_NE(result.err.find(problem), std::string::npos) << result.err;
  }
}

TEST_F(DecodeToolChannels, JsonObjectsAndMessageCommandsNameTheirChannel) {
  const fs::path heard = dir_ / "heard";
  const ToolResult result =
      RunDecodeTool({"--channel", "both", "--lang", "en,ja", "--format", "jsonl", "--frequency",
                     "518,424", "--on-message-shell", "--on-message",
                     "echo \"$SEAHERALD_CHANNEL $SEAHERALD_HEADER\" >> '" + heard.string() + "'",
                     stereo_.file.string()});
  const ToolResult printed =
      RunDecodeTool({"--channel", "both", "--lang", "en,ja", stereo_.file.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::map<std::string, std::vector<std::string>> headers;
  int lineObjects = 0;
  for (const std::string& text : result.lines) {
    const nlohmann::json object = nlohmann::json::parse(text);
    const std::string channel = object.at("channel");
    ASSERT_TRUE(channel == "left" || channel == "right") << text;
    if (object.at("kind") == "line") {
      ++lineObjects;
      continue;
    }
    EXPECT_EQ(object.at("frequency_khz"), channel == "left" ? 518.0 : 424.0) << text;
    headers[channel].push_back(object.at("header"));
  }
  EXPECT_EQ(lineObjects, static_cast<int>(printed.lines.size()));
  EXPECT_EQ(headers["left"], (std::vector<std::string>{"GA12", "KB07", "GA14"}));
  EXPECT_EQ(headers["right"], (std::vector<std::string>{"ＬＡ０４２", "KB07", "GA14"}));
  std::istringstream commands(ReadBytes(heard));
  std::vector<std::string> runs;
  for (std::string line; std::getline(commands, line);)
    runs.push_back(line);
  std::sort(runs.begin(), runs.end());
  EXPECT_EQ(runs, (std::vector<std::string>{"left GA12", "left GA14", "left KB07", "right GA14",
                                            "right KB07", "right ＬＡ０４２"}));
}

// Through a real broker and a local datagram socket: each receiver's messages name its channel
// and its frequency, in the JSON published and in the NRX sentences sent.
TEST_F(DecodeToolChannels, MqttAndNrxCarryEachReceiversChannelAndFrequency) {
  using namespace std::chrono_literals;
  SEAHERALD_REQUIRE_BROKER();
  seaherald::testing::MqttTestBroker broker;
  ASSERT_TRUE(broker.Start());
  seaherald::testing::MqttTestSubscriber subscriber(broker.Port(), "ship/navtex");
  ASSERT_TRUE(subscriber.WaitSubscribed(10s));
  seaherald::testing::UdpListener plotter;
  const ToolResult result =
      RunDecodeTool({"--channel", "both", "--lang", "en,ja", "--frequency", "490,518", "--mqtt",
                     broker.Url(), "--mqtt-topic", "ship/navtex", "--udp",
                     "127.0.0.1:" + plotter.Port(), stereo_.file.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  std::map<std::string, std::vector<std::string>> published;
  for (const std::string& text : subscriber.WaitFor(6, 10s)) {
    const nlohmann::json object = nlohmann::json::parse(text);
    const std::string channel = object.at("channel");
    EXPECT_EQ(object.at("frequency_khz"), channel == "left" ? 490.0 : 518.0) << text;
    published[channel].push_back(object.at("header"));
  }
  EXPECT_EQ(published["left"], (std::vector<std::string>{"GA12", "KB07", "GA14"}));
  EXPECT_EQ(published["right"], (std::vector<std::string>{"ＬＡ０４２", "KB07", "GA14"}));

  // English messages only: three from the left receiver at 490 kHz (index 1), two from the right
  // one at 518 kHz (index 2).
  std::map<std::string, std::vector<std::string>> sent;
  std::vector<std::string> pending;
  for (const std::string& sentence : plotter.Receive()) {
    pending.push_back(sentence);
    auto group = seaherald::testing::ReassembleNrx(pending);
    if (auto* whole = std::get_if<seaherald::testing::NrxGroup>(&group)) {
      sent[whole->frequencyIndex].push_back(whole->header);
      pending.clear();
    }
  }
  EXPECT_TRUE(pending.empty());
  EXPECT_EQ(sent["1"], (std::vector<std::string>{"GA12", "KB07", "GA14"}));
  EXPECT_EQ(sent["2"], (std::vector<std::string>{"KB07", "GA14"}));
}

TEST_F(DecodeToolChannels, ChannelsThatAreNotThereAndPairsForOneReceiverAreRefused) {
  const ToolResult missing = RunDecodeTool({"--channel", "4", stereo_.extra.string()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot decode channel 4 of"), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("it has 3 channel(s)"), std::string::npos) << missing.err;
  EXPECT_TRUE(missing.out.empty());

  const std::vector<std::vector<std::string>> usage{
      {"--center", "800,600", stereo_.file.string()},
      {"--channel", "right", "--lang", "en,ja", stereo_.file.string()},
      {"--channel", "both", "--center", "800,2000", stereo_.file.string()},
      {"--channel", "0", stereo_.file.string()},
      {"--channel", "both", "-"},
      {"--channel", "both", "--capture", "--channel", "1,3"},
  };
  for (const auto& args : usage) {
    const ToolResult result = RunDecodeTool(args);
    EXPECT_EQ(result.exitCode, 2) << args[1] << " " << args[2] << ": " << result.err;
    EXPECT_NE(result.err.find("Try 'seaherald-decode --help'"), std::string::npos) << result.err;
  }
}

// Station I is Grimeton on 518 kHz and Niton on 490 kHz in NAVAREA I; the right channel's radio
// is on the other sideband, so its tones come inverted.
TEST_F(DecodeToolChannels, EachReceiverTakesItsOwnPolarityModeAndStations) {
  const int rate = testsignal::SignalSampleRate;
  const fs::path file =
      WriteChannels(dir_ / "sidebands.wav",
                    {ChannelAudio({{EnglishMessage("IE01", {"NAVIGATION WARNING"}), 0.0}}, rate),
                     ChannelAudio({{EnglishMessage("IE02", {"BUOY UNLIT"}), 0.5}}, rate, true)},
                    rate);
  const auto right = [&file](std::vector<std::string> args) {
    args.insert(args.end(), {"--channel", "both", "--lang", "en", file.string()});
    return LinesOfChannel(RunDecodeTool(args).lines, "right");
  };
  const std::vector<std::string> message{"ZCZC IE02", "BUOY UNLIT", "NNNN"};
  EXPECT_EQ(right({"--manual", "--polarity", "normal,inverted"}), message);
  EXPECT_EQ(right({"--mode", "manual,auto"}), message) << "automatic mode finds the polarity";
  const auto alike = right({"--manual", "--polarity", "normal"});
  EXPECT_EQ(std::find(alike.begin(), alike.end(), "ZCZC IE02"), alike.end());

  const ToolResult named =
      RunDecodeTool({"--channel", "both", "--lang", "en", "--mode", "auto", "--navarea", "1",
                     "--frequency", "518,490", "--format", "jsonl", file.string()});
  ASSERT_EQ(named.exitCode, 0) << named.err;
  std::map<std::string, std::string> stations;
  for (const std::string& text : named.lines) {
    const nlohmann::json object = nlohmann::json::parse(text);
    if (object.at("kind") == "message")
      stations[object.at("header")] = object.at("station").at("en");
  }
  EXPECT_EQ(stations,
            (std::map<std::string, std::string>{{"IE01", "Grimeton"}, {"IE02", "Niton"}}));
  EXPECT_NE(named.err.find("NAVAREA I, 490 kHz"), std::string::npos) << named.err;
  // The window's settings file gives the second receiver's frequency to its names and its outputs.
  const fs::path settings = dir_ / "seaherald.ini";
  std::ofstream(settings) << "[Watch]\nNavArea=1\nNavFreq2=490\n";
  const ToolResult tuned =
      RunDecodeTool({"--channel", "both", "--lang", "en", "--mode", "auto", "--settings",
                     settings.string(), "--format", "jsonl", file.string()});
  std::map<std::string, std::pair<std::string, double>> heard;
  for (const std::string& text : tuned.lines) {
    const nlohmann::json object = nlohmann::json::parse(text);
    if (object.at("kind") == "message")
      heard[object.at("header")] = {object.at("station").at("en"), object.at("frequency_khz")};
  }
  EXPECT_EQ(heard, (std::map<std::string, std::pair<std::string, double>>{
                       {"IE01", {"Grimeton", 518.0}}, {"IE02", {"Niton", 490.0}}}))
      << tuned.err;
  EXPECT_EQ(RunDecodeTool({"--channel", "right", "--mode", "auto,manual", file.string()}).exitCode,
            2);
}

}  // namespace
}  // namespace seaherald::roundtrip
