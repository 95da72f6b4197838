#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <string>
#include <vector>

#include "decoder/Decoder.h"
#include "tests/decoder/RecordingSink.h"

namespace seaherald {
namespace {

using test::ReceivedLine;

const std::filesystem::path RecordingsDir =
    std::filesystem::path(SEAHERALD_SOURCE_DIR) / ".." / "shared" / "testdata" / "real";

struct Outcome {
  std::vector<ReceivedLine> lines;
  std::string lineInProgress;
  bool english;
};

// Decodes the left channel of a 44100 Hz recording block by block, as the receiver does, in
// automatic mode starting from Japanese, the settings' default.
Outcome DecodeRecording(const std::string& name, double centre, bool startEnglish = false) {
  SF_INFO info{};
  SNDFILE* file = sf_open((RecordingsDir / name).string().c_str(), SFM_READ, &info);
  if (file == nullptr) {
    ADD_FAILURE() << "cannot open " << name << ": " << sf_strerror(nullptr);
    return {};
  }
  EXPECT_EQ(info.samplerate, 44100);
  std::vector<short> frames(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_short(file, frames.data(), info.frames);
  sf_close(file);

  bool decLang = startEnglish, decInv = false;
  const bool autoSet = true;
  ReceptionIndicators indicators;
  test::RecordingSink sink;
  Decoder decoder(DecoderSettings{decLang, decInv, autoSet, centre}, indicators, sink);
  for (sf_count_t offset = 0; offset + BlockFrames <= info.frames; offset += BlockFrames) {
    std::span<double, BlockFrames> block = decoder.SampleBlock(0);
    for (int i = 0; i < BlockFrames; ++i) {
      block[i] = frames[static_cast<std::size_t>((offset + i) * info.channels)];
    }
    decoder.DecodeBlock(0);
  }
  return {sink.lines, decoder.Line(0), decLang};
}

class RealRecordings : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(RecordingsDir)) {
      GTEST_SKIP() << "recordings not found at " << RecordingsDir;
    }
  }
};

const std::string TestSentence =
    "NOW IS THE TIME FOR ALL GOOD MEN TO COME TO THE AID OF THEIR COUNTRY.";

TEST_F(RealRecordings, TestSentenceFromTwoSources) {
  for (const char* name : {"fventuri_example_44k.wav", "pd0wm_example_44k.wav"}) {
    const Outcome outcome = DecodeRecording(name, 1000);
    EXPECT_TRUE(outcome.english) << name;
    EXPECT_EQ(outcome.lines, (std::vector<ReceivedLine>{{TestSentence, false}})) << name;
  }
}

TEST_F(RealRecordings, WarningTextWithoutPhasing) {
  const Outcome outcome = DecodeRecording("lpeterse_inner_44k.wav", 955, true);
  ASSERT_GE(outcome.lines.size(), 2u);
  EXPECT_EQ(outcome.lines[0], (ReceivedLine{"WARN. NO. 314", false}));
  EXPECT_EQ(outcome.lines[1], (ReceivedLine{"GERMAN BIGHT. NORTHWESTERLY OF HELIGOLAND.", false}));
}

TEST_F(RealRecordings, PhasingThenHeader) {
  const Outcome outcome = DecodeRecording("lpeterse_phasing_44k.wav", 955);
  EXPECT_TRUE(outcome.english);
  EXPECT_EQ(outcome.lines, (std::vector<ReceivedLine>{{"ZCZC SA97", false}}));
}

// A centre above 1500 Hz turns the mixer backwards; the text still comes through.
TEST_F(RealRecordings, CentreAboveTheShiftedCentre) {
  const Outcome outcome = DecodeRecording("pd0wm_wiki_44k.wav", 1700);
  EXPECT_NE(outcome.lineInProgress.find("WELCOME TO WIKIPEDIA"), std::string::npos);
}

}  // namespace
}  // namespace seaherald
