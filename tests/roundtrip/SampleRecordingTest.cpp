// The shipped sample recording: the tool decodes both of its messages with default options, and
// the file is what the generator makes today.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/ToolRun.h"
#include "tests/support/AudioFileWriter.h"
#include "tests/support/FskModulator.h"
#include "tests/support/SampleRecording.h"
#include "tests/support/ShiftJisText.h"

namespace seaherald::roundtrip {
namespace {

const std::filesystem::path SamplePath = SEAHERALD_SOURCE_DIR "/samples/navtex-sample.wav";

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(SampleRecording, DecodesToBothMessagesWithDefaultOptions) {
  std::vector<std::string> expected;
  for (const ReceivedLine& line : LinesOf(testsignal::SampleEnglishText))
    expected.push_back(line.text);
  for (const ReceivedLine& line :
       LinesOf(testsignal::Utf8ToShiftJis(testsignal::SampleJapaneseUtf8))) {
    expected.push_back(testsignal::ShiftJisToUtf8(line.text));
  }
  const ToolResult result = RunDecodeTool({SamplePath.string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.lines, expected);
  EXPECT_EQ(expected.front(), "ZCZC GA12");
  EXPECT_EQ(expected[4], "ＺＣＺＣ　ＧＡ１３０");
}

TEST(SampleRecording, ShippedFileMatchesTheGenerator) {
  const ScratchDirectory dir;
  const auto fresh = dir / "fresh.wav";
  testsignal::WriteAudioFile(fresh, testsignal::SampleRecording(), 1, testsignal::SignalSampleRate,
                             testsignal::AudioFileType::Wav);
  EXPECT_TRUE(ReadBytes(fresh) == ReadBytes(SamplePath))
      << "regenerate with seaherald_make_sample samples/navtex-sample.wav";
  EXPECT_LT(std::filesystem::file_size(SamplePath), 3'000'000u);
}

}  // namespace
}  // namespace seaherald::roundtrip
