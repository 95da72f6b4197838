// Off-air and third-party recordings through the command-line decoder, end to end. They come from
// ../shared/testdata/real beside the repository (see its README for where each comes from). A
// checkout without that folder skips them, unless SEAHERALD_REQUIRE_REAL_DATA=1 makes its absence
// a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/roundtrip/ToolRun.h"

namespace seaherald::roundtrip {
namespace {

const std::filesystem::path RealDataFolder = SEAHERALD_SOURCE_DIR "/../shared/testdata/real";

bool RealDataRequired() {
  const char* required = std::getenv("SEAHERALD_REQUIRE_REAL_DATA");
  return required != nullptr && std::string_view(required) == "1";
}

bool HasLine(const ToolResult& result, const std::string& line) {
  return std::find(result.lines.begin(), result.lines.end(), line) != result.lines.end();
}

bool HasLineContaining(const ToolResult& result, const std::string& text) {
  return std::any_of(result.lines.begin(), result.lines.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

struct RecordingCase {
  std::string file;
  std::vector<std::string> args;  // before the file name
  std::vector<std::string> wholeLines;
  std::vector<std::string> fragments;
};

void PrintTo(const RecordingCase& c, std::ostream* out) {
  *out << c.file;
  for (const std::string& arg : c.args)
    *out << " " << arg;
}

class RealRecording : public testing::TestWithParam<RecordingCase> {};

TEST_P(RealRecording, DecodesItsKnownText) {
  if (!std::filesystem::is_directory(RealDataFolder)) {
    if (RealDataRequired()) {
      FAIL() << "the real recordings are missing: no folder " << RealDataFolder
             << " (SEAHERALD_REQUIRE_REAL_DATA=1 requires it)";
    }
    GTEST_SKIP() << "the real recordings are not here: no folder " << RealDataFolder
                 << " (set SEAHERALD_REQUIRE_REAL_DATA=1 to make this a failure)";
  }
  const RecordingCase& c = GetParam();
  const auto path = RealDataFolder / c.file;
  // With the folder present, a missing recording is a broken copy of the data, never skipped.
  ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing";
  std::vector<std::string> args = c.args;
  args.push_back(path.string());
  const ToolResult result = RunDecodeTool(args);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  for (const std::string& line : c.wholeLines) {
    EXPECT_TRUE(HasLine(result, line)) << line << " not in:\n" << result.out;
  }
  for (const std::string& text : c.fragments) {
    EXPECT_TRUE(HasLineContaining(result, text)) << text << " not in:\n" << result.out;
  }
}

const std::string TestSentence =
    "NOW IS THE TIME FOR ALL GOOD MEN TO COME TO THE AID OF THEIR COUNTRY.";

INSTANTIATE_TEST_SUITE_P(
    Recordings, RealRecording,
    testing::Values(
        // Each has phasing: automatic mode finds English from the default Japanese start, and
        // either starting polarity.
        RecordingCase{"fventuri_example_44k.wav", {"--center", "1000"}, {TestSentence}, {}},
        RecordingCase{
            "fventuri_example_44k.wav", {"--center", "1000", "--invert"}, {TestSentence}, {}},
        RecordingCase{"pd0wm_example_44k.wav", {"--center", "1000"}, {TestSentence}, {}},
        // The 48 kHz original goes through the resampler.
        RecordingCase{"pd0wm_example.wav", {"--center", "1000", "--invert"}, {TestSentence}, {}},
        // Text without phasing: the language has to be given.
        RecordingCase{"lpeterse_inner_44k.wav",
                      {"--center", "955", "--lang", "en"},
                      {"WARN. NO. 314", "GERMAN BIGHT. NORTHWESTERLY OF HELIGOLAND."},
                      {}},
        RecordingCase{
            "lpeterse_inner.wav", {"--center", "955", "--lang", "en"}, {"WARN. NO. 314"}, {}},
        // A real broadcast with fading: fragments, among them the station's name.
        RecordingCase{"fventuri_mondolfo_44k.wav",
                      {"--center", "1000", "--lang", "en"},
                      {},
                      {"ZCZC EE3", "MONDOLFO RADIO"}}),
    [](const auto& info) {
      std::string name =
          info.param.file.substr(0, info.param.file.find('.')) + "_" + std::to_string(info.index);
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

struct PathComparison {
  std::string file;
  std::vector<std::string> args;
};

std::size_t TextCharacters(const ToolResult& result) {
  std::size_t count = 0;
  for (const std::string& line : result.lines)
    count += line.ends_with("...") ? line.size() - 3 : line.size();
  return count;
}

long CutLines(const ToolResult& result) {
  return std::count_if(result.lines.begin(), result.lines.end(),
                       [](const std::string& line) { return line.ends_with("..."); });
}

// The high-sensitivity path copies at least as much of every recording as the standard one, and
// the faded Italian broadcast nearly whole.
TEST(RealRecordingPaths, SensitivePathCopiesAtLeastAsMuch) {
  if (!std::filesystem::is_directory(RealDataFolder)) {
    if (RealDataRequired()) FAIL() << "the real recordings are missing: " << RealDataFolder;
    GTEST_SKIP() << "the real recordings are not here: no folder " << RealDataFolder;
  }
  const std::vector<PathComparison> recordings{
      {"fventuri_example_44k.wav", {"--center", "1000"}},
      {"pd0wm_example_44k.wav", {"--center", "1000"}},
      {"lpeterse_inner_44k.wav", {"--center", "955", "--lang", "en"}},
      {"lpeterse_phasing_44k.wav", {"--center", "955"}},
      {"fventuri_mondolfo_44k.wav", {"--center", "1000"}}};
  for (const PathComparison& recording : recordings) {
    const auto run = [&](const char* path) {
      std::vector<std::string> args = recording.args;
      args.insert(args.end(), {"--decoder", path, (RealDataFolder / recording.file).string()});
      return RunDecodeTool(args);
    };
    const ToolResult standard = run("standard");
    const ToolResult sensitive = run("sensitive");
    EXPECT_EQ(sensitive.exitCode, 0) << sensitive.err;
    EXPECT_GE(TextCharacters(sensitive), TextCharacters(standard))
        << recording.file << "\nstandard:\n"
        << standard.out << "sensitive:\n"
        << sensitive.out;
    if (recording.file.starts_with("fventuri_mondolfo")) {
      // It ends before the end marker, so its last line is cut.
      EXPECT_LE(CutLines(sensitive), 3) << sensitive.out;
      for (const char* line :
           {"ZCZC EE39", "MONDOLFO RADIO", "E VALIDE FINO ALLE ORE 06/UTC DEL 07/11/2021",
            "- NORDEST 9 SU MARE SUD BALEARI."}) {
        EXPECT_TRUE(HasLine(sensitive, line)) << line << " not in:\n" << sensitive.out;
      }
    }
  }
}

}  // namespace
}  // namespace seaherald::roundtrip
