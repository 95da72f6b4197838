// seaherald-decode --log as a user runs it: the message files it writes from the shipped sample and
// from generated broadcasts, byte for byte, with the receiver's rules for repeated headers, error
// limits and the receive time-out, the settings file, and folders it cannot write into.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/LocalClock.h"
#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"
#include "tests/support/SampleRecording.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

namespace fs = std::filesystem;
using std::chrono::sys_seconds;
using testsignal::Transmission;

const fs::path SamplePath = SEAHERALD_SOURCE_DIR "/samples/navtex-sample.wav";
constexpr std::string_view CutMark = "...";

sys_seconds AsSeconds(const LocalDateTime& time) {
  using namespace std::chrono;
  const sys_days date = year{time.year} / month{static_cast<unsigned>(time.month)} /
                        day{static_cast<unsigned>(time.day)};
  return date + hours{time.hour} + minutes{time.minute} + seconds{time.second};
}

// "yyyy/mm/dd hh:mm:ss" with a real date and time of day; nothing for anything else.
std::optional<sys_seconds> ParseStamp(const std::string& text) {
  static const std::regex Stamp(R"((\d{4})/(\d{2})/(\d{2}) (\d{2}):(\d{2}):(\d{2}))");
  std::smatch parts;
  if (!std::regex_match(text, parts, Stamp)) return std::nullopt;
  const LocalDateTime time{std::stoi(parts[1]), std::stoi(parts[2]), std::stoi(parts[3]),
                           std::stoi(parts[4]), std::stoi(parts[5]), std::stoi(parts[6])};
  const std::chrono::year_month_day date{std::chrono::year{time.year},
                                         std::chrono::month{static_cast<unsigned>(time.month)},
                                         std::chrono::day{static_cast<unsigned>(time.day)}};
  if (!date.ok() || time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
  return AsSeconds(time);
}

// Shift-JIS body of a log file: each line followed by CR LF.
std::string BodyOf(const std::vector<std::string>& utf8Lines) {
  std::string body;
  for (const std::string& line : utf8Lines)
    body += testsignal::Utf8ToShiftJis(line) + "\r\n";
  return body;
}

int CutLinesIn(const std::vector<std::string>& utf8Lines) {
  return static_cast<int>(std::count_if(utf8Lines.begin(), utf8Lines.end(),
                                        [](const auto& line) { return line.ends_with(CutMark); }));
}

// Every byte of a log file except the stamp's date and time, whose form is checked instead;
// `stamp` gets its value.
testing::AssertionResult IsLogFile(const fs::path& path, int errors, const std::string& body,
                                   sys_seconds* stamp = nullptr) {
  if (!fs::is_regular_file(path)) return testing::AssertionFailure() << path << " is not a file";
  const std::string content = ReadBytes(path);
  const std::string head = "Last received ";
  if (content.size() < head.size() + 19 || content.compare(0, head.size(), head) != 0) {
    return testing::AssertionFailure() << path << " does not start with a stamp: " << content;
  }
  const std::string stampText = content.substr(head.size(), 19);
  const std::optional<sys_seconds> parsed = ParseStamp(stampText);
  if (!parsed) return testing::AssertionFailure() << "not a date and time: " << stampText;
  if (stamp != nullptr) *stamp = *parsed;
  char count[32];
  std::snprintf(count, sizeof count, "%03d", errors);
  const std::string rest = "\r\nDetected " + std::string(count) + " error\r\n-\r\n" + body;
  if (content.substr(head.size() + 19) != rest) {
    return testing::AssertionFailure() << path << " holds after its stamp:\n"
                                       << content.substr(head.size() + 19) << "\nnot:\n"
                                       << rest;
  }
  return testing::AssertionSuccess();
}

// One message as the tool printed it: header and body lines, UTF-8.
struct PrintedMessage {
  std::string header;
  std::vector<std::string> body;
};

// The messages in printed lines, English or full-width markers, in order.
std::vector<PrintedMessage> MessagesIn(const std::vector<std::string>& lines) {
  const std::string wideStart = "ＺＣＺＣ　";
  std::vector<PrintedMessage> messages;
  std::optional<PrintedMessage> open;
  for (const std::string& line : lines) {
    if (line.starts_with("ZCZC ") || line.starts_with(wideStart)) {
      const std::size_t markerLength = line.starts_with("ZCZC ") ? 5 : wideStart.size();
      open = PrintedMessage{line.substr(markerLength), {}};
    } else if (line == "NNNN" || line == "ＮＮＮＮ") {
      if (open) messages.push_back(*open);
      open.reset();
    } else if (open) {
      open->body.push_back(line);
    }
  }
  return messages;
}

// A run of the tool with the wall-clock time around it.
struct TimedRun {
  ToolResult result;
  sys_seconds started;
  sys_seconds finished;
};

TimedRun RunTimed(const std::vector<std::string>& args,
                  const std::optional<fs::path>& pipeFrom = std::nullopt) {
  TimedRun run;
  run.started = AsSeconds(SystemClock().Now());
  run.result = RunDecodeTool(args, pipeFrom);
  run.finished = AsSeconds(SystemClock().Now());
  return run;
}

std::string SummaryLine(int count, const std::string& outcome) {
  std::string number = std::to_string(count);
  return std::string(6 - number.size(), ' ') + number + " " + outcome + "\n";
}

Transmission EnglishMessage(const std::string& header, const std::vector<std::string>& body) {
  std::string text = "ZCZC " + header + "\r\n";
  for (const std::string& line : body)
    text += line + "\r\n";
  return EnglishBroadcast(text + "NNNN\r\n");
}

// A bit error in the first copy of the first letter of each word (not at the start of a line):
// the receiver loses sync there and hands the line over cut short.
Transmission WithCutLines(Transmission transmission, const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    transmission.bitErrors.push_back({OffsetOf(transmission, word), testsignal::Copy::Dx, 2});
  }
  return transmission;
}

fs::path WriteRecording(const ScratchDirectory& dir, const std::string& name,
                        const std::vector<Transmission>& broadcasts,
                        const testsignal::SignalOptions& options = {}) {
  const auto path = dir / name;
  testsignal::WriteAudioFile(path, AudioOf(broadcasts, options), 1, options.fsk.sampleRate,
                             testsignal::AudioFileType::Wav);
  return path;
}

double SecondsOf(const fs::path& recording) {
  return static_cast<double>(fs::file_size(recording)) / (2 * testsignal::SignalSampleRate);
}

TEST(DecodeToolLog, SampleRecordingFilesBothMessagesByteForByte) {
  const ScratchDirectory dir;
  const fs::path logs = dir / "logs" / "navtex";  // neither level exists yet
  const TimedRun run = RunTimed({"--log", logs.string(), SamplePath.string()});
  const ToolResult& result = run.result;
  EXPECT_EQ(result.exitCode, 0) << result.err;
  // The printed lines are those of a run without a log folder.
  EXPECT_EQ(result.out, RunDecodeTool({SamplePath.string()}).out);

  const std::vector<ReceivedLine> english = LinesOf(testsignal::SampleEnglishText);
  const std::vector<ReceivedLine> japanese =
      LinesOf(testsignal::Utf8ToShiftJis(testsignal::SampleJapaneseUtf8));
  const auto bodyOf = [](const std::vector<ReceivedLine>& lines) {
    std::string body;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
      body += lines[i].text + "\r\n";
    return body;
  };
  ASSERT_EQ(FilesIn(logs), (std::vector<fs::path>{"GA12.txt", "ＧＡ１３０.txt"}));
  sys_seconds englishStamp;
  sys_seconds japaneseStamp;
  EXPECT_TRUE(IsLogFile(logs / "GA12.txt", 0, bodyOf(english), &englishStamp));
  EXPECT_TRUE(IsLogFile(logs / "ＧＡ１３０.txt", 0, bodyOf(japanese), &japaneseStamp));
  // Stamped on a clock that starts with the run and moves on with the audio.
  const auto audio = std::chrono::seconds(static_cast<int>(SecondsOf(SamplePath)) + 1);
  EXPECT_LE(run.started, englishStamp);
  EXPECT_LT(englishStamp, japaneseStamp);
  EXPECT_LE(japaneseStamp, run.finished + audio);
  EXPECT_NE(result.err.find("messages in '" + logs.string() + "':\n" +
                            SummaryLine(2, "filed as a new log file") +
                            SummaryLine(0, "replaced a stored copy with as many or more errors")),
            std::string::npos)
      << result.err;
}

TEST(DecodeToolLog, GeneratedBroadcastsThroughAPipeKeepCutLinesAndTheirCount) {
  const ScratchDirectory dir;
  const Transmission english = EnglishMessage("KB07", {"GALE WARNING", "WIND SW 8"});
  const Transmission japanese =
      JapaneseBroadcast("ＺＣＺＣ　ＬＡ０４２\r\n気象警報\r\n波の高さ　４メートル\r\nＮＮＮＮ\r\n");
  const Transmission cut = WithCutLines(
      EnglishMessage("KA98", {"ALPHA LINE", "BRAVO WORD", "CHARLIE TEXT"}), {"WORD", "TEXT"});
  const auto samples = AudioOf(std::vector<Transmission>{english, japanese, cut});
  const auto raw = dir / "broadcasts.raw";
  {
    std::ofstream out(raw, std::ios::binary);
    for (const std::int16_t sample : samples) {
      const auto bits = static_cast<std::uint16_t>(sample);
      out.put(static_cast<char>(bits & 0xFF));
      out.put(static_cast<char>(bits >> 8));
    }
  }
  const fs::path logs = dir / "logs";
  const ToolResult result = RunDecodeTool({"--log=" + logs.string(), "-"}, raw);
  EXPECT_EQ(result.exitCode, 0) << result.err;

  const std::vector<PrintedMessage> printed = MessagesIn(result.lines);
  ASSERT_EQ(printed.size(), 3u) << result.out;
  EXPECT_EQ(printed[0].body, (std::vector<std::string>{"GALE WARNING", "WIND SW 8"}));
  EXPECT_EQ(printed[1].body, (std::vector<std::string>{"気象警報", "波の高さ　４メートル"}));
  ASSERT_EQ(CutLinesIn(printed[2].body), 2) << result.out;

  ASSERT_EQ(FilesIn(logs), (std::vector<fs::path>{"KA98.txt", "KB07.txt", "ＬＡ０４２.txt"}));
  EXPECT_TRUE(IsLogFile(logs / "KB07.txt", 0, BodyOf(printed[0].body)));
  EXPECT_TRUE(IsLogFile(logs / "ＬＡ０４２.txt", 0, BodyOf(printed[1].body)));
  EXPECT_TRUE(IsLogFile(logs / "KA98.txt", 2, BodyOf(printed[2].body)));
  EXPECT_NE(result.err.find(SummaryLine(3, "filed as a new log file")), std::string::npos)
      << result.err;
}

TEST(DecodeToolLog, StampsCountTheSecondsOfAudioNotOfDecoding) {
  const ScratchDirectory dir;
  constexpr int GapSeconds = 40;
  Transmission second = EnglishMessage("GA02", {"SECOND MESSAGE"});
  second.silenceBeforeSeconds = GapSeconds;
  const fs::path recording =
      WriteRecording(dir, "gap.wav", {EnglishMessage("GA01", {"FIRST MESSAGE"}), second});
  const fs::path logs = dir / "logs";
  const ToolResult result = RunDecodeTool({"--log", logs.string(), recording.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  sys_seconds first;
  sys_seconds last;
  ASSERT_TRUE(IsLogFile(logs / "GA01.txt", 0, "FIRST MESSAGE\r\n", &first));
  ASSERT_TRUE(IsLogFile(logs / "GA02.txt", 0, "SECOND MESSAGE\r\n", &last));
  // The second end marker comes after the silence and within the audio that follows.
  const auto apart = last - first;
  EXPECT_GE(apart, std::chrono::seconds(GapSeconds));
  EXPECT_LE(apart, std::chrono::seconds(static_cast<int>(SecondsOf(recording)) + 1));
}

TEST(DecodeToolLog, RepeatedHeaderKeepsTheCopyWithFewerErrors) {
  const ScratchDirectory dir;
  const std::vector<Transmission> broadcasts{
      WithCutLines(EnglishMessage("GA12", {"FIRST COPY OF A", "END"}), {"COPY"}),
      WithCutLines(EnglishMessage("GA13", {"FIRST COPY OF B", "END"}), {"COPY"}),
      EnglishMessage("GA14", {"FIRST COPY OF C", "END"}),
      // Fewer errors than stored: replaces it.
      EnglishMessage("GA12", {"SECOND COPY OF A", "END"}),
      // As many: the newer reception wins.
      WithCutLines(EnglishMessage("GA13", {"SECOND COPY OF B", "END"}), {"COPY"}),
      // More: the stored copy stays.
      WithCutLines(EnglishMessage("GA14", {"SECOND COPY OF C", "END"}), {"COPY"}),
  };
  const fs::path recording = WriteRecording(dir, "repeats.wav", broadcasts);
  const fs::path logs = dir / "logs";
  const ToolResult result =
      RunDecodeTool({"--lang", "en", "--log", logs.string(), recording.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<PrintedMessage> printed = MessagesIn(result.lines);
  ASSERT_EQ(printed.size(), 6u) << result.out;
  const std::vector<int> cuts{1, 1, 0, 0, 1, 1};
  for (std::size_t i = 0; i < printed.size(); ++i) {
    ASSERT_EQ(CutLinesIn(printed[i].body), cuts[i]) << result.out;
  }
  ASSERT_EQ(FilesIn(logs), (std::vector<fs::path>{"GA12.txt", "GA13.txt", "GA14.txt"}));
  EXPECT_TRUE(IsLogFile(logs / "GA12.txt", 0, BodyOf(printed[3].body)));
  EXPECT_TRUE(IsLogFile(logs / "GA13.txt", 1, BodyOf(printed[4].body)));
  EXPECT_TRUE(IsLogFile(logs / "GA14.txt", 0, BodyOf(printed[2].body)));
  for (const std::string& line :
       {SummaryLine(3, "filed as a new log file"),
        SummaryLine(2, "replaced a stored copy with as many or more errors"),
        SummaryLine(1, "dropped: the stored copy has fewer errors")}) {
    EXPECT_NE(result.err.find(line), std::string::npos) << line << " not in:\n" << result.err;
  }

  // A later run over the same folder goes by what is stored: the clean first copy of GA14 is
  // as good as the stored one and replaces it; the cut copies of GA12 and GA13 do not.
  const fs::path again = WriteRecording(dir, "again.wav", {broadcasts[0], broadcasts[2]});
  const ToolResult second = RunDecodeTool({"--lang", "en", "--log", logs.string(), again.string()});
  EXPECT_EQ(second.exitCode, 0) << second.err;
  const std::vector<PrintedMessage> secondPrinted = MessagesIn(second.lines);
  ASSERT_EQ(secondPrinted.size(), 2u) << second.out;
  EXPECT_TRUE(IsLogFile(logs / "GA12.txt", 0, BodyOf(printed[3].body)));
  EXPECT_TRUE(IsLogFile(logs / "GA14.txt", 0, BodyOf(secondPrinted[1].body)));
  EXPECT_NE(second.err.find(SummaryLine(1, "replaced a stored copy with as many or more errors")),
            std::string::npos)
      << second.err;
  EXPECT_NE(second.err.find(SummaryLine(1, "dropped: the stored copy has fewer errors")),
            std::string::npos)
      << second.err;
}

// A message whose end marker comes after a long silence.
// The signal fades in mid-message and comes back without phasing (phasing would begin a new
// transmission and end the message); the receiver syncs again on the first line after it.
std::vector<Transmission> SilenceBeforeTheEnd(double silenceSeconds) {
  Transmission after = EnglishBroadcast("SYNC AGAIN\r\nAFTER THE SILENCE\r\nNNNN\r\n");
  after.silenceBeforeSeconds = silenceSeconds;
  after.phasingSeconds = 0;
  return {EnglishBroadcast("ZCZC GA12\r\nBEFORE THE SILENCE\r\n"), after};
}

TEST(DecodeToolLog, TimeOutDropsAMessageCutByALongSilence) {
  const ScratchDirectory dir;
  const fs::path recording = WriteRecording(dir, "silence.wav", SilenceBeforeTheEnd(8));
  const auto run = [&](const std::vector<std::string>& options, const std::string& folder) {
    std::vector<std::string> args = options;
    args.insert(args.end(), {"--lang", "en", "--log", (dir / folder).string(), recording.string()});
    return RunDecodeTool(args);
  };

  const ToolResult dropped = run({"--timeout", "5"}, "short");
  EXPECT_EQ(dropped.exitCode, 0) << dropped.err;
  EXPECT_TRUE(FilesIn(dir / "short").empty());
  EXPECT_NE(dropped.err.find(SummaryLine(1, "dropped: time-out before the end marker")),
            std::string::npos)
      << dropped.err;
  EXPECT_NE(dropped.err.find(SummaryLine(0, "filed as a new log file")), std::string::npos);

  // A time-out longer than the silence keeps the message; so does the default of 30 seconds.
  for (const auto& [options, folder] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{{{"--timeout", "12"}, "long"},
                                                                     {{}, "default"}}) {
    const ToolResult kept = run(options, folder);
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    const std::vector<PrintedMessage> printed = MessagesIn(kept.lines);
    ASSERT_EQ(printed.size(), 1u) << kept.out;
    EXPECT_EQ(printed[0].body.front(), "BEFORE THE SILENCE");
    EXPECT_EQ(printed[0].body.back(), "AFTER THE SILENCE");
    EXPECT_TRUE(
        IsLogFile(dir / folder / "GA12.txt", CutLinesIn(printed[0].body), BodyOf(printed[0].body)));
  }
}

TEST(DecodeToolLog, MessagesWithoutTheirEndMarkerAreNotFiled) {
  const ScratchDirectory dir;
  const fs::path recording = WriteRecording(
      dir, "unended.wav",
      {EnglishBroadcast("ZCZC GA12\r\nNO END MARKER\r\nZCZC GA13\r\nCOMPLETE\r\nNNNN\r\n"),
       EnglishBroadcast("ZCZC GA14\r\nRECORDING ENDS\r\n")});
  const fs::path logs = dir / "logs";
  const ToolResult result =
      RunDecodeTool({"--lang", "en", "--log", logs.string(), recording.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(FilesIn(logs), (std::vector<fs::path>{"GA13.txt"}));
  EXPECT_TRUE(IsLogFile(logs / "GA13.txt", 0, "COMPLETE\r\n"));
  for (const std::string& line :
       {SummaryLine(1, "filed as a new log file"),
        SummaryLine(1, "dropped: a new start marker before the end marker"),
        SummaryLine(1, "dropped: the input ended before the end marker"),
        SummaryLine(0, "dropped: time-out before the end marker")}) {
    EXPECT_NE(result.err.find(line), std::string::npos) << line << " not in:\n" << result.err;
  }
}

// A message whose end marker was lost, noise, then a broadcast whose start line was lost: nothing
// may be filed under the old header. After a minute of noise the standard path has not seen the
// time-out (English noise keeps resetting its idle count), so the new broadcast's phasing must end
// the old message; the sensitive path takes no noise for reception, so its time-out comes first.
// After ten seconds of noise both paths are still inside the time-out and phasing ends it.
TEST(DecodeToolLog, PhasingOfTheNextBroadcastEndsAMessageThatLostItsEndMarker) {
  const ScratchDirectory dir;
  Transmission unended = EnglishBroadcast("ZCZC GA01\r\nFIRST MESSAGE 111\r\n");
  unended.trailingPhasingSeconds = 0;  // the station's end is lost with the marker
  Transmission headless = EnglishBroadcast("SECOND MESSAGE 222\r\nNNNN\r\n");
  testsignal::SignalOptions noisy;
  noisy.snrDb = 12;
  struct Case {
    double noiseSeconds;
    const char* path;
    bool endedByPhasing;
  };
  for (const Case& c : {Case{60, "standard", true}, Case{60, "sensitive", false},
                        Case{10, "standard", true}, Case{10, "sensitive", true}}) {
    headless.silenceBeforeSeconds = c.noiseSeconds;
    const std::string name = std::string(c.path) + std::to_string(int(c.noiseSeconds));
    const fs::path recording = WriteRecording(dir, name + ".wav", {unended, headless}, noisy);
    const fs::path logs = dir / name;
    const ToolResult result = RunDecodeTool(
        {"--lang", "en", "--decoder", c.path, "--log", logs.string(), recording.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(std::find(result.lines.begin(), result.lines.end(), "SECOND MESSAGE 222"),
              result.lines.end())
        << name << ": the second broadcast was not received:\n"
        << result.out;
    EXPECT_TRUE(FilesIn(logs).empty()) << name;
    const int byPhasing = c.endedByPhasing ? 1 : 0;
    for (const std::string& line :
         {SummaryLine(byPhasing, "dropped: a new broadcast's phasing before the end marker"),
          SummaryLine(1 - byPhasing, "dropped: time-out before the end marker")}) {
      EXPECT_NE(result.err.find(line), std::string::npos) << name << ": " << line << " not in:\n"
                                                          << result.err;
    }
  }
}

TEST(DecodeToolLog, ErrorLimitAndErrSave) {
  const ScratchDirectory dir;
  const fs::path recording = WriteRecording(
      dir, "errors.wav",
      {WithCutLines(EnglishMessage("GA12", {"LINE ONE", "LINE TWO", "END"}), {"ONE", "TWO"})});
  const auto run = [&](std::vector<std::string> options, const std::string& folder) {
    options.insert(options.end(),
                   {"--lang", "en", "--log", (dir / folder).string(), recording.string()});
    return RunDecodeTool(options);
  };
  const ToolResult atLimit = run({"--errnum", "2"}, "limit2");
  EXPECT_EQ(atLimit.exitCode, 0) << atLimit.err;
  const std::vector<PrintedMessage> printed = MessagesIn(atLimit.lines);
  ASSERT_EQ(printed.size(), 1u) << atLimit.out;
  ASSERT_EQ(CutLinesIn(printed[0].body), 2) << atLimit.out;
  EXPECT_TRUE(FilesIn(dir / "limit2").empty());
  EXPECT_NE(atLimit.err.find(SummaryLine(1, "dropped: too many lines cut short (ErrNum)")),
            std::string::npos)
      << atLimit.err;

  const std::string body = BodyOf(printed[0].body);
  EXPECT_EQ(run({"--errnum", "3"}, "limit3").exitCode, 0);
  EXPECT_TRUE(IsLogFile(dir / "limit3" / "GA12.txt", 2, body));
  EXPECT_EQ(run({"--errnum", "1", "--no-errsave"}, "nolimit").exitCode, 0);
  EXPECT_TRUE(IsLogFile(dir / "nolimit" / "GA12.txt", 2, body));
  // The default limit of 10 files it too.
  EXPECT_EQ(run({}, "default").exitCode, 0);
  EXPECT_TRUE(IsLogFile(dir / "default" / "GA12.txt", 2, body));
}

TEST(DecodeToolLog, SettingsFileWithTheCommandLineWinning) {
  const ScratchDirectory dir;
  testsignal::SignalOptions signal;
  signal.fsk.centerHz = 1000;
  signal.inverted = true;
  const fs::path recording = WriteRecording(
      dir, "settings.wav",
      {WithCutLines(EnglishMessage("GA12", {"LINE ONE", "LINE TWO", "END"}), {"ONE", "TWO"})},
      signal);
  // Manual English, inverted, at 1000 Hz, filing with at most one error; keys the tool does not
  // use and a comment around them.
  const fs::path ini = dir / "receiver.ini";
  const std::string iniText =
      "; kept as it is\r\n[Form]\r\nMainTop=10\r\n[Wave]\r\nWaveInName=Line In\r\nCentF=100\r\n"
      "[Set]\r\nautoset=0\r\nDECLANG=1\r\nDecInv=1\r\nErrNum=2\r\nAutoLogDelete=1\r\n"
      "DeleteDay=1\r\n[Extra]\r\nKey=Value\r\n";
  std::ofstream(ini, std::ios::binary) << iniText;
  const auto run = [&](std::vector<std::string> options, const std::string& folder) {
    options.insert(options.end(), {"--settings", ini.string(), "--log", (dir / folder).string(),
                                   recording.string()});
    return RunDecodeTool(options);
  };

  const ToolResult fromFile = run({}, "file");
  EXPECT_EQ(fromFile.exitCode, 0) << fromFile.err;
  const std::vector<PrintedMessage> printed = MessagesIn(fromFile.lines);
  ASSERT_EQ(printed.size(), 1u) << fromFile.out;
  ASSERT_EQ(CutLinesIn(printed[0].body), 2);
  EXPECT_TRUE(FilesIn(dir / "file").empty());  // ErrNum 2 from the file

  const ToolResult moreErrors = run({"--errnum", "3"}, "errnum");
  EXPECT_EQ(moreErrors.out, fromFile.out);
  EXPECT_TRUE(IsLogFile(dir / "errnum" / "GA12.txt", 2, BodyOf(printed[0].body)));

  // The command line's language, centre and polarity replace the file's.
  EXPECT_EQ(run({"--lang", "ja"}, "japanese").out, "");
  EXPECT_EQ(run({"--center", "500"}, "centre").out, "");

  // A stored copy in a folder the file would clean up at once stays: the tool deletes nothing.
  const fs::path old = dir / "errnum" / "ZZ99.txt";
  std::ofstream(old, std::ios::binary)
      << "Last received 2001/01/01 00:00:00\r\nDetected 000 error\r\n-\r\nOLD\r\n";
  EXPECT_EQ(run({"--errnum", "3"}, "errnum").exitCode, 0);
  EXPECT_TRUE(fs::exists(old));
  // Read, never written.
  EXPECT_EQ(ReadBytes(ini), iniText);
}

TEST(DecodeToolLog, SettingsFileThatCannotBeUsed) {
  const ScratchDirectory dir;
  const ToolResult missing =
      RunDecodeTool({"--settings", (dir / "none.ini").string(), SamplePath.string()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot read settings file"), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.out, "");

  std::ofstream(dir / "far.ini") << "[Wave]\nCentF=200\n";
  const ToolResult centre =
      RunDecodeTool({"--settings", (dir / "far.ini").string(), SamplePath.string()});
  EXPECT_EQ(centre.exitCode, 1);
  EXPECT_NE(centre.err.find("CentF 200"), std::string::npos) << centre.err;
  EXPECT_EQ(centre.out, "");
}

TEST(DecodeToolLog, LogFolderThatIsAFileIsReportedForEveryMessage) {
  const ScratchDirectory dir;
  const fs::path notAFolder = dir / "logs";
  std::ofstream(notAFolder) << "a file\n";
  const ToolResult result = RunDecodeTool({"--log", notAFolder.string(), SamplePath.string()});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.out, RunDecodeTool({SamplePath.string()}).out);
  EXPECT_NE(result.err.find("cannot create log folder '" + notAFolder.string() + "'"),
            std::string::npos)
      << result.err;
  for (const std::string name : {"GA12.txt", "ＧＡ１３０.txt"}) {
    const std::string told =
        "seaherald-decode: cannot write " + (notAFolder / name).string() + "\n";
    EXPECT_NE(result.err.find(told), std::string::npos) << told << " not in:\n" << result.err;
  }
  EXPECT_NE(result.err.find(SummaryLine(2, "not filed: the log file could not be written")),
            std::string::npos)
      << result.err;
  EXPECT_EQ(ReadBytes(notAFolder), "a file\n");
}

TEST(DecodeToolLog, LogFileThatCannotBeWrittenLosesNothingElse) {
  const ScratchDirectory dir;
  const fs::path logs = dir / "logs";
  // A folder where the first message's file would go, and a stored message of another header.
  fs::create_directories(logs / "GA12.txt");
  std::ofstream(logs / "GA12.txt" / "inside") << "kept\n";
  const std::string stored =
      "Last received 2026/01/02 03:04:05\r\nDetected 004 error\r\n-\r\nSTORED\r\n";
  std::ofstream(logs / "GA13.txt", std::ios::binary) << stored;
  const fs::path recording = WriteRecording(
      dir, "two.wav",
      {EnglishMessage("GA12", {"CANNOT BE FILED"}), EnglishMessage("GA14", {"FILED"})});
  const ToolResult result =
      RunDecodeTool({"--lang", "en", "--log", logs.string(), recording.string()});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(
      result.err.find("seaherald-decode: cannot write " + (logs / "GA12.txt").string() + "\n"),
      std::string::npos)
      << result.err;
  EXPECT_EQ(ReadBytes(logs / "GA12.txt" / "inside"), "kept\n");
  EXPECT_EQ(ReadBytes(logs / "GA13.txt"), stored);
  EXPECT_TRUE(IsLogFile(logs / "GA14.txt", 0, "FILED\r\n"));
  // No temporary file is left behind.
  EXPECT_EQ(FilesIn(logs), (std::vector<fs::path>{"GA12.txt", "GA13.txt", "GA14.txt"}));
  EXPECT_NE(result.err.find(SummaryLine(1, "not filed: the log file could not be written")),
            std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find(SummaryLine(1, "filed as a new log file")), std::string::npos);
}

TEST(DecodeToolLog, WithoutLogNothingIsWrittenAndStandardErrorStaysQuiet) {
  const ScratchDirectory dir;
  const ScratchDirectory work;
  const fs::path recording =
      WriteRecording(dir, "one.wav", {EnglishMessage("GA12", {"NOT FILED ANYWHERE"})});
  const ToolResult result = RunDecodeTool({"--timeout", "1", "--errnum", "1", recording.string()},
                                          std::nullopt, work / "");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.lines, (std::vector<std::string>{"ZCZC GA12", "NOT FILED ANYWHERE", "NNNN"}));
  EXPECT_TRUE(FilesIn(work / "").empty());
  EXPECT_EQ(FilesIn(dir / ""), (std::vector<fs::path>{"one.wav"}));
}

}  // namespace
}  // namespace seaherald::roundtrip
