// The measuring tool's own parts: error counting, the test messages, the receive harness, the
// fall-off search and the command line.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "bench/sensitivity/CharacterErrors.h"
#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/SweepMessages.h"
#include "bench/sensitivity/SweepOptions.h"
#include "bench/sensitivity/SweepReport.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"

namespace seaherald::sensitivity {
namespace {

using testsignal::Language;

std::vector<std::string> Sjis(std::initializer_list<const char*> utf8Lines) {
  std::vector<std::string> lines;
  for (const char* line : utf8Lines)
    lines.push_back(testsignal::Utf8ToShiftJis(line));
  return lines;
}

TEST(CharacterErrorsTest, CountsLostGarbledAndSpuriousCharactersOnceEach) {
  const std::vector<std::string> sent{"ZCZC GA12", "KEEP CLEAR", "NNNN"};
  EXPECT_EQ(CompareLines(sent, sent).errors, 0u);
  EXPECT_EQ(CompareLines(sent, {"ZCZC GA12", "KEP CLEAR", "NNNN"}).errors, 1u);
  EXPECT_EQ(CompareLines(sent, {"ZCZC GA12", "KEEP CLEAQ", "NNNN"}).errors, 1u);
  EXPECT_EQ(CompareLines(sent, {"ZCZC GA12", "KEEP CLEARXX", "NNNN"}).errors, 2u);
  // A line split by a loss of sync costs one line end; a line lost costs its characters and
  // its line end.
  EXPECT_EQ(CompareLines(sent, {"ZCZC GA12", "KEEP", " CLEAR", "NNNN"}).errors, 1u);
  EXPECT_EQ(CompareLines(sent, {"ZCZC GA12", "NNNN"}).errors, 11u);
  // Nothing received: every character sent is lost.
  const CharacterErrors none = CompareLines(sent, {});
  EXPECT_EQ(none.errors, none.sentCharacters);
  EXPECT_DOUBLE_EQ(none.Rate(), 1.0);
}

TEST(CharacterErrorsTest, DoubleByteCharacterIsOneCharacter) {
  const auto sent = Sjis({"航行警報", "ＮＮＮＮ"});
  EXPECT_EQ(CharactersOfLines(sent).size(), 4u + 1u + 4u + 1u);
  EXPECT_EQ(CompareLines(sent, Sjis({"航行警", "ＮＮＮＮ"})).errors, 1u);
  EXPECT_EQ(CompareLines(sent, Sjis({"航行警察", "ＮＮＮＮ"})).errors, 1u);
}

TEST(CharacterErrorsTest, SplitsCrLfTextIntoNonEmptyLines) {
  EXPECT_EQ(SplitCrLfLines("A\r\nBC\r\n\r\nD"), (std::vector<std::string>{"A", "BC", "D"}));
  EXPECT_TRUE(SplitCrLfLines("").empty());
}

TEST(SweepMessagesTest, MessagesDifferAndCarryTheirHeaderAndBody) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const SweepMessage first = MakeSweepMessage(language, 0);
    const SweepMessage second = MakeSweepMessage(language, 1);
    EXPECT_NE(first.header, second.header);
    EXPECT_NE(first.body, second.body);
    ASSERT_EQ(first.lines.size(), first.body.size() + 2);
    EXPECT_TRUE(first.lines.front().ends_with(first.header));
    EXPECT_EQ(SplitCrLfLines(first.broadcast.text), first.lines);
    EXPECT_EQ(first.header.size(), language == Language::English ? 4u : 10u);
    // The modulator must accept every text.
    EXPECT_FALSE(testsignal::ToneBits(first.broadcast, false).empty());
  }
}

TEST(ReceptionRunTest, AmplitudeGivesTheStatedSnrAndLevel) {
  for (const double snr : {-6.0, 0.0, 10.0}) {
    const double amplitude = AmplitudeFor(snr);
    const double deviation = testsignal::NoiseDeviationFor(amplitude, snr);
    const double signalPower = amplitude * amplitude / 2;
    const double noiseInBand =
        deviation * deviation * testsignal::SnrBandwidthHz / (testsignal::SignalSampleRate / 2.0);
    EXPECT_NEAR(10 * std::log10(signalPower / noiseInBand), snr, 1e-9);
    EXPECT_NEAR(std::sqrt(signalPower + deviation * deviation), AudioRmsLevel, 1e-6);
  }
}

class ReceptionRunFixture : public testing::Test {
 protected:
  ReceptionRunFixture() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-sensitivity-test-XXXXXX").string();
    scratch_ = ::mkdtemp(pattern.data());
  }
  ~ReceptionRunFixture() override { std::filesystem::remove_all(scratch_); }
  std::filesystem::path scratch_;
};

TEST_F(ReceptionRunFixture, StrongSignalIsFiledWithoutErrorsInBothLanguagesAndModes) {
  for (const auto& [language, mode] : {std::pair{Language::English, ReceiverMode::Automatic},
                                       {Language::Japanese, ReceiverMode::Automatic},
                                       {Language::English, ReceiverMode::FixedLanguage},
                                       {Language::Japanese, ReceiverMode::FixedLanguage}}) {
    const MessageOutcome outcome = ReceiveMessage({language, 20.0, 5.0, 0.003},
                                                  MakeSweepMessage(language, 3), 7, mode, scratch_);
    EXPECT_TRUE(outcome.filed);
    EXPECT_EQ(outcome.text.errors, 0u);
    EXPECT_GT(outcome.text.sentCharacters, 50u);
    EXPECT_EQ(outcome.filedBody.errors, 0u);
    EXPECT_EQ(outcome.cutLines, 0);
  }
  EXPECT_TRUE(std::filesystem::is_empty(scratch_)) << "scratch folders must be removed";
}

TEST_F(ReceptionRunFixture, SignalDrownedInNoiseIsNeitherFiledNorCopied) {
  const SweepMessage message = MakeSweepMessage(Language::English, 0);
  const MessageOutcome outcome =
      ReceiveMessage({Language::English, -20.0}, message, 7, ReceiverMode::Automatic, scratch_);
  EXPECT_FALSE(outcome.filed);
  EXPECT_GT(outcome.text.Rate(), 0.5);
  EXPECT_EQ(outcome.filedBody.sentCharacters, 0u);
}

MeasuredPoint Point(double snr, int filed, std::size_t errors) {
  MeasuredPoint m;
  m.point.snrDb = snr;
  m.result.messages = 4;
  m.result.filed = filed;
  m.result.text = {1000, errors};
  return m;
}

TEST(FallOffTest, ThresholdsHoldFromTheirStepUpwards) {
  // A good step below a bad one does not count: the threshold is where it holds for good.
  const FallOff fallOff = FindFallOff(
      {Point(-4, 1, 400), Point(-2, 4, 5), Point(0, 2, 50), Point(2, 4, 20), Point(4, 4, 0)});
  EXPECT_EQ(fallOff.cleanFromDb, 4.0);
  EXPECT_EQ(fallOff.halfFiledFromDb, -2.0);
  EXPECT_FALSE(FindFallOff({Point(0, 0, 900)}).cleanFromDb.has_value());
}

TEST(SweepOptionsTest, ReadsStepsListsAndQuickRun) {
  const std::vector<std::string> args{"--snr", "-2:2:1", "--rates", "0,0.3", "--messages", "3"};
  const SweepOptions options = ParseSweepOptions(args);
  EXPECT_EQ(options.snrDb, (std::vector<double>{-2, -1, 0, 1, 2}));
  ASSERT_EQ(options.rateErrors.size(), 2u);
  EXPECT_DOUBLE_EQ(options.rateErrors[1], 0.003);
  EXPECT_EQ(options.messagesPerPoint, 3);

  const std::vector<std::string> quick{"--quick", "--offsets", "-5"};
  const SweepOptions quickOptions = ParseSweepOptions(quick);
  EXPECT_EQ(quickOptions.snrDb, QuickSnrSteps());
  EXPECT_EQ(quickOptions.offsetsHz, std::vector<double>{-5});
}

TEST(SweepOptionsTest, RejectsWhatItDoesNotUnderstand) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--snr", "3:1:1"},
                                             {"--snr", "x"},
                                             {"--messages", "0"},
                                             {"--messages", "2.5"},
                                             {"--jobs"},
                                             {"--language", "french"},
                                             {"--fast"}}) {
    EXPECT_THROW(ParseSweepOptions(args), std::invalid_argument) << testing::PrintToString(args);
  }
}

}  // namespace
}  // namespace seaherald::sensitivity
