// seaherald-decode as a user runs it: generated recordings in several formats and rates, a raw
// PCM pipe, and inputs and command lines it must refuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

using testsignal::AudioFileType;
using testsignal::SignalOptions;
using testsignal::Transmission;
using testsignal::WriteAudioFile;

std::vector<std::string> Utf8Lines(std::string_view text, bool japanese) {
  std::vector<std::string> lines;
  for (const ReceivedLine& line : LinesOf(text)) {
    lines.push_back(japanese ? testsignal::ShiftJisToUtf8(line.text) : line.text);
  }
  return lines;
}

const std::vector<std::string>& EnglishOutput() {
  static const std::vector<std::string> lines = Utf8Lines(EnglishMessageText, false);
  return lines;
}

const std::vector<std::string>& JapaneseOutput() {
  static const std::vector<std::string> lines =
      Utf8Lines(testsignal::Utf8ToShiftJis(JapaneseMessageUtf8), true);
  return lines;
}

std::filesystem::path WriteMono(const ScratchDirectory& dir, const std::string& name,
                                const Transmission& transmission, SignalOptions options = {},
                                AudioFileType type = AudioFileType::Wav) {
  const auto samples = AudioOf(transmission, options);
  const auto path = dir / name;
  WriteAudioFile(path, samples, 1, options.fsk.sampleRate, type);
  return path;
}

TEST(DecodeTool, StereoWavDecodesTheLeftChannelOnly) {
  const ScratchDirectory dir;
  const auto left = AudioOf(EnglishBroadcast());
  const auto right = AudioOf(JapaneseBroadcast("ＺＣＺＣ　ＸＸ９９９\r\n右\r\nＮＮＮＮ\r\n"));
  std::vector<std::int16_t> stereo;
  for (std::size_t i = 0; i < left.size(); ++i) {
    stereo.push_back(left[i]);
    stereo.push_back(i < right.size() ? right[i] : 0);
  }
  const auto path = dir / "stereo.wav";
  WriteAudioFile(path, stereo, 2, 44100, AudioFileType::Wav);
  const ToolResult result = RunDecodeTool({path.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.lines, EnglishOutput());
  EXPECT_EQ(result.err, "");
}

struct RateCase {
  int sampleRate;
  AudioFileType type;
};

void PrintTo(const RateCase& c, std::ostream* out) {
  *out << c.sampleRate << " Hz " << (c.type == AudioFileType::Wav ? "WAV" : "FLAC");
}

class DecodeToolRates : public testing::TestWithParam<RateCase> {};

TEST_P(DecodeToolRates, OtherSampleRatesAreResampled) {
  const ScratchDirectory dir;
  SignalOptions options;
  options.fsk.sampleRate = GetParam().sampleRate;
  options.inverted = true;
  const std::string name = GetParam().type == AudioFileType::Wav ? "in.wav" : "in.flac";
  const auto english = WriteMono(dir, "en-" + name, EnglishBroadcast(), options, GetParam().type);
  const auto japanese = WriteMono(dir, "ja-" + name, JapaneseBroadcast(), options, GetParam().type);
  const ToolResult englishResult = RunDecodeTool({english.string()});
  EXPECT_EQ(englishResult.exitCode, 0) << englishResult.err;
  EXPECT_EQ(englishResult.lines, EnglishOutput());
  const ToolResult japaneseResult = RunDecodeTool({japanese.string()});
  EXPECT_EQ(japaneseResult.exitCode, 0) << japaneseResult.err;
  EXPECT_EQ(japaneseResult.lines, JapaneseOutput());
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeToolRates,
                         testing::Values(RateCase{8000, AudioFileType::Wav},
                                         RateCase{22050, AudioFileType::Flac},
                                         RateCase{44100, AudioFileType::Flac},
                                         RateCase{48000, AudioFileType::Wav},
                                         RateCase{96000, AudioFileType::Flac}),
                         [](const auto& info) {
                           return std::to_string(info.param.sampleRate) +
                                  (info.param.type == AudioFileType::Wav ? "Wav" : "Flac");
                         });

TEST(DecodeTool, RawPcmThroughAPipe) {
  const ScratchDirectory dir;
  const auto samples = AudioOf(JapaneseBroadcast());
  const auto path = dir / "signal.raw";
  {
    std::ofstream out(path, std::ios::binary);
    for (const std::int16_t sample : samples) {
      const auto bits = static_cast<std::uint16_t>(sample);
      out.put(static_cast<char>(bits & 0xFF));
      out.put(static_cast<char>(bits >> 8));
    }
  }
  const ToolResult result = RunDecodeTool({"-"}, path);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.lines, JapaneseOutput());
  EXPECT_EQ(result.err, "");

  // One byte more: the last sample is incomplete, which is reported after decoding.
  { std::ofstream(path, std::ios::binary | std::ios::app).put('\x01'); }
  const ToolResult odd = RunDecodeTool({"-"}, path);
  EXPECT_EQ(odd.exitCode, 1);
  EXPECT_EQ(odd.lines, JapaneseOutput());
  EXPECT_NE(odd.err.find("middle of a sample"), std::string::npos) << odd.err;
}

TEST(DecodeTool, CutLinesEndInDots) {
  const ScratchDirectory dir;
  Transmission transmission = EnglishBroadcast();
  transmission.bitErrors = {{OffsetOf(transmission, "BROWN"), testsignal::Copy::Dx, 2}};
  const ToolResult result =
      RunDecodeTool({"--lang", "en", WriteMono(dir, "e.wav", transmission).string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.lines, (std::vector<std::string>{"ZCZC GA12", "QUICK ...", "ROWN FOX 1234",
                                                    "JUMPS OVER THE LAZY DOG.", "NNNN"}));
}

TEST(DecodeTool, LineStillOpenWhenTheRecordingEndsIsPrintedCut) {
  const ScratchDirectory dir;
  Transmission transmission = EnglishBroadcast("ZCZC GA12\r\nRECORDING STOPS HERE");
  transmission.trailingPhasingSeconds = 0;
  SignalOptions options;
  options.trailingSilenceSeconds = 0;
  const ToolResult result =
      RunDecodeTool({"--lang=en", WriteMono(dir, "e.wav", transmission, options).string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.lines, (std::vector<std::string>{"ZCZC GA12", "RECORDING STOPS HERE..."}));
}

TEST(DecodeTool, StartingOptionsReachTheDecoder) {
  const ScratchDirectory dir;
  SignalOptions options;
  options.fsk.centerHz = 1000;
  options.inverted = true;
  const auto path = WriteMono(dir, "e.wav", EnglishBroadcast(), options);
  // Right centre, right language and polarity, no automatic choice.
  EXPECT_EQ(
      RunDecodeTool({"--manual", "--center", "1000", "--lang", "en", "--invert", path.string()})
          .lines,
      EnglishOutput());
  // Manual mode in the wrong language or polarity hears nothing.
  EXPECT_EQ(RunDecodeTool({"--manual", "--center", "1000", path.string()}).out, "");
  EXPECT_EQ(RunDecodeTool({"--manual", "--center", "1000", "--lang", "en", path.string()}).out, "");
  // Automatic mode finds both; the centre must still be right.
  EXPECT_EQ(RunDecodeTool({"--center=1000", path.string()}).lines, EnglishOutput());
  EXPECT_EQ(RunDecodeTool({"--center", "500", path.string()}).out, "");
}

// A weak, mistuned station: the standard path copies next to nothing, the sensitive one all of
// it; a settings file can choose the path, and the command line wins over it.
TEST(DecodeTool, DecoderOptionChoosesTheReceivePath) {
  const ScratchDirectory dir;
  SignalOptions options;
  options.fsk.amplitude = 4000;
  options.fsk.offsetHz = 20;
  options.snrDb = -3.0;
  Transmission transmission = EnglishBroadcast();
  transmission.phasingSeconds = 10;
  const auto path = WriteMono(dir, "weak.wav", transmission, options).string();
  EXPECT_EQ(RunDecodeTool({"--decoder", "sensitive", path}).lines, EnglishOutput());
  const ToolResult standard = RunDecodeTool({"--decoder=standard", path});
  EXPECT_EQ(standard.exitCode, 0);
  EXPECT_NE(standard.lines, EnglishOutput());
  EXPECT_EQ(RunDecodeTool({path}).lines, standard.lines) << "standard is the default";

  const auto ini = dir / "receiver.ini";
  std::ofstream(ini, std::ios::binary) << "[Set]\r\nDecSens=1\r\n";
  EXPECT_EQ(RunDecodeTool({"--settings", ini.string(), path}).lines, EnglishOutput());
  EXPECT_EQ(RunDecodeTool({"--settings", ini.string(), "--decoder", "standard", path}).lines,
            standard.lines);
}

TEST(DecodeTool, TruncatedFilesAreDecodedAsFarAsTheyGoAndReported) {
  const ScratchDirectory dir;
  for (const AudioFileType type : {AudioFileType::Wav, AudioFileType::Flac}) {
    const auto path = WriteMono(dir, type == AudioFileType::Wav ? "t.wav" : "t.flac",
                                EnglishBroadcast(), {}, type);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) * 3 / 5);
    const ToolResult result = RunDecodeTool({path.string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("truncated"), std::string::npos) << result.err;
    ASSERT_GE(result.lines.size(), 2u) << result.out;
    EXPECT_EQ(result.lines[0], "ZCZC GA12");
    EXPECT_EQ(result.lines[1], "QUICK BROWN FOX 1234");
  }
}

TEST(DecodeTool, UnreadableInputsFailWithAMessage) {
  const ScratchDirectory dir;
  const auto missing = dir / "missing.wav";
  const ToolResult noFile = RunDecodeTool({missing.string()});
  EXPECT_EQ(noFile.exitCode, 1);
  EXPECT_NE(noFile.err.find("No such file"), std::string::npos) << noFile.err;

  const auto text = dir / "notes.wav";
  std::ofstream(text) << "these are not samples\n";
  const ToolResult notAudio = RunDecodeTool({text.string()});
  EXPECT_EQ(notAudio.exitCode, 1);
  EXPECT_NE(notAudio.err.find("not an audio format"), std::string::npos) << notAudio.err;

  const ToolResult directory = RunDecodeTool({dir / "."});
  EXPECT_EQ(directory.exitCode, 1);
  EXPECT_NE(directory.err.find("directory"), std::string::npos) << directory.err;
  for (const ToolResult* r : {&noFile, &notAudio, &directory})
    EXPECT_EQ(r->out, "");
}

TEST(DecodeTool, WrongCommandLinesExitWithStatus2) {
  const std::vector<std::vector<std::string>> wrong{
      {},
      {"--center", "1500", "x.wav"},
      {"--center", "0", "x.wav"},
      {"--center", "-20", "x.wav"},
      {"--center", "8OO", "x.wav"},
      {"--center"},
      {"--lang", "de", "x.wav"},
      {"--manual=yes", "x.wav"},
      {"--volume", "3", "x.wav"},
      {"a.wav", "b.wav"},
      {"--errnum", "0", "x.wav"},
      {"--errnum", "many", "x.wav"},
      {"--errnum=-3", "x.wav"},
      {"--timeout", "0", "x.wav"},
      {"--timeout", "2.5", "x.wav"},
      {"--timeout", "99999999999", "x.wav"},
      {"--log", "", "x.wav"},
      {"--log"},
      {"--settings=", "x.wav"},
      {"--no-errsave=0", "x.wav"},
      {"--decoder", "fast", "x.wav"},
      {"--decoder"},
  };
  for (const auto& args : wrong) {
    const ToolResult result = RunDecodeTool(args);
    EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(args);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("seaherald-decode: "), std::string::npos);
  }
}

TEST(DecodeTool, HelpGoesToStandardOutput) {
  const ToolResult result = RunDecodeTool({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.lines.at(0), "Usage: seaherald-decode [options] FILE|-");
  for (const char* option :
       {"--center HZ", "--lang en|ja", "--invert", "--manual", "--log DIR", "--errnum N",
        "--no-errsave", "--timeout S", "--settings FILE", "--help", "\"Last received\""}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace seaherald::roundtrip
