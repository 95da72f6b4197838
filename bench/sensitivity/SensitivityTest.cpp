// The measuring tool's own parts: error counting, the test messages, the receive harness, the
// fall-off search and the command line.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "bench/sensitivity/ChannelCatalogue.h"
#include "bench/sensitivity/CharacterErrors.h"
#include "bench/sensitivity/IdealReceiver.h"
#include "bench/sensitivity/NoiseRun.h"
#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/ReportText.h"
#include "bench/sensitivity/Sweep.h"
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
    const MessageOutcome outcome =
        ReceiveMessage({language, 20.0, 5.0, 0.003}, MakeSweepMessage(language, 3), 7,
                       ReceivePath::Standard, mode, scratch_);
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
      ReceiveMessage({Language::English, -20.0}, message, 7, ReceivePath::Standard,
                     ReceiverMode::Automatic, scratch_);
  EXPECT_FALSE(outcome.filed);
  EXPECT_GT(outcome.text.Rate(), 0.5);
  EXPECT_EQ(outcome.filedBody.sentCharacters, 0u);
}

// Against the independent model beside the receiver limits: steady noise at -8 dB 1.8 %, flat
// Rayleigh 1 Hz at 0 dB 0.74 %, 0.1 Hz at +6 dB 0.85 % (each within its Monte-Carlo scatter).
TEST(IdealReceiverTest, MatchesTheReceiverLimitsModel) {
  const IdealResult steady = IdealCharacterErrors(std::nullopt, -8.0, 20000, 1);
  EXPECT_NEAR(steady.Rate(), 0.018, 0.004);
  const IdealResult fading = IdealCharacterErrors(RayleighChannel(1.0), 0.0, 20000, 1);
  EXPECT_NEAR(fading.Rate(), 0.0074, 0.0025);
  const IdealResult slow = IdealCharacterErrors(RayleighChannel(0.1), 6.0, 20000, 1);
  EXPECT_NEAR(slow.Rate(), 0.0085, 0.005);
  EXPECT_EQ(IdealChannels(ParseSweepOptions({})).size(),
            1 + RayleighDopplersHz.size() + WattersonConditions.size());
}

MeasuredPoint Point(double snr, int filed, std::size_t errors) {
  MeasuredPoint m;
  m.point.snrDb = snr;
  PointResult& result = m.results[PathIndex(ReceivePath::Standard)];
  result.messages = 4;
  result.filed = filed;
  result.text = {1000, errors};
  return m;
}

TEST(FallOffTest, ThresholdsHoldFromTheirStepUpwards) {
  // A good step below a bad one does not count: the threshold is where it holds for good.
  const FallOff fallOff = FindFallOff(
      {Point(-4, 1, 400), Point(-2, 4, 5), Point(0, 2, 50), Point(2, 4, 20), Point(4, 4, 0)},
      ReceivePath::Standard);
  EXPECT_EQ(fallOff.cleanFromDb, 4.0);
  EXPECT_EQ(fallOff.halfFiledFromDb, -2.0);
  EXPECT_FALSE(FindFallOff({Point(0, 0, 900)}, ReceivePath::Standard).cleanFromDb.has_value());
  // Each path's own figures: the sensitive one, given none, never qualifies.
  EXPECT_FALSE(FindFallOff({Point(4, 4, 0)}, ReceivePath::Sensitive).cleanFromDb.has_value());
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

TEST(SweepOptionsTest, ReadsPathsImpairmentsAndTheirModels) {
  const SweepOptions defaults = ParseSweepOptions({});
  EXPECT_EQ(defaults.paths,
            (std::vector<ReceivePath>{ReceivePath::Standard, ReceivePath::Sensitive}));
  EXPECT_EQ(defaults.snrDb, DefaultSnrSteps());
  EXPECT_EQ(defaults.snrDb.front(), -12);
  EXPECT_FALSE(defaults.noiseHours.has_value());

  const std::vector<std::string> args{
      "--path",       "sensitive", "--impairments", "fading,crashes",
      "--fade-depth", "20",        "--fade-period", "6",
      "--crash-rate", "5",         "--crash-level", "12",
      "--readme"};
  const SweepOptions options = ParseSweepOptions(args);
  EXPECT_EQ(options.paths, std::vector<ReceivePath>{ReceivePath::Sensitive});
  EXPECT_EQ(options.impairments,
            (std::vector<Impairment>{Impairment::Fading, Impairment::Crashes}));
  EXPECT_EQ(options.fading.depthDb, 20);
  EXPECT_EQ(options.fading.periodSeconds, 6);
  EXPECT_EQ(options.crashes.ratePerSecond, 5);
  EXPECT_EQ(options.crashes.levelDb, 12);
  EXPECT_TRUE(options.readmeTable);
  EXPECT_EQ(options.commandLine,
            "seaherald-sensitivity --path sensitive --impairments fading,crashes --fade-depth 20 "
            "--fade-period 6 --crash-rate 5 --crash-level 12 --readme");

  const std::vector<std::string> noise{"--noise-hours", "0.5", "--path", "standard"};
  EXPECT_EQ(ParseSweepOptions(noise).noiseHours, 0.5);
  const std::vector<std::string> readme{"--readme", "--messages", "40"};
  EXPECT_EQ(ParseSweepOptions(readme).impairments, std::vector<Impairment>{Impairment::OnTune});

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--path", "fast"},
                                             {"--impairments", "tune,fog"},
                                             {"--impairments", ""},
                                             {"--fade-period", "0"},
                                             {"--fade-depth", "-3"},
                                             {"--crash-rate", "-1"},
                                             {"--noise-hours", "0"},
                                             {"--noise-hours"},
                                             {"--rates", "20"}}) {
    EXPECT_THROW(ParseSweepOptions(bad), std::invalid_argument) << testing::PrintToString(bad);
  }
}

TEST(SweepOptionsTest, ReadsChannelsBurstsSeedAndIntegrityModes) {
  const std::vector<std::string> args{
      "--impairments", "rayleigh,watterson:low-disturbed,bursts:5,rayleigh:3",
      "--burst-rate",  "2",
      "--seed",        "7",
      "--clean-first", "--integrity"};
  const SweepOptions options = ParseSweepOptions(args);
  EXPECT_EQ(options.impairments,
            (std::vector<Impairment>{Impairment::Channel, Impairment::Bursts}));
  std::vector<std::string> names;
  for (const SweepPoint& point : ImpairmentsOf(options))
    names.push_back(ImpairmentName(point));
  EXPECT_EQ(names,
            (std::vector<std::string>{"rayleigh 0.1 Hz", "rayleigh 0.5 Hz", "rayleigh 1 Hz",
                                      "rayleigh 2 Hz", "watterson low-disturbed (6 ms, 10 Hz)",
                                      "rayleigh 3 Hz", "bursts 5 ms 2/s at +20 dB"}));
  const auto& watterson = options.channels[4].paths;
  ASSERT_EQ(watterson.size(), 2u);
  EXPECT_DOUBLE_EQ(watterson[1].delaySeconds, 0.006);
  EXPECT_DOUBLE_EQ(watterson[0].fading.meanPower + watterson[1].fading.meanPower, 1.0);
  EXPECT_EQ(options.firstSeed, 7u);
  EXPECT_TRUE(options.cleanFirst);
  EXPECT_TRUE(options.integrityTable);
  EXPECT_EQ(ParseSweepOptions({}).firstSeed, DefaultFirstSeed);
  EXPECT_EQ(ParseSweepOptions({}).impairments.size(), 5u) << "the default sweep stays as it was";

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--impairments", "rayleigh:0"},
                                             {"--impairments", "rayleigh:"},
                                             {"--impairments", "watterson:high-quiet"},
                                             {"--impairments", "bursts:0.5"},
                                             {"--impairments", "tune:1"},
                                             {"--seed", "1.5"},
                                             {"--seed", "-1"},
                                             {"--readme", "--integrity"}}) {
    EXPECT_THROW(ParseSweepOptions(bad), std::invalid_argument) << testing::PrintToString(bad);
  }
}

TEST(SweepPointsTest, EachImpairmentAloneAtEverySnrStep) {
  SweepOptions options = ParseSweepOptions({});
  options.offsetsHz = {-20, 0, 20};  // 0 is on tune, measured once
  const std::vector<SweepPoint> impairments = ImpairmentsOf(options);
  // On tune, two offsets, two rate errors, fading, crashes.
  ASSERT_EQ(impairments.size(), 7u);
  std::vector<std::string> names;
  for (const SweepPoint& point : impairments) {
    const int count = (point.offsetHz != 0) + (point.rateError != 0) + point.fading.has_value() +
                      point.crashes.has_value();
    EXPECT_LE(count, 1);
    names.push_back(ImpairmentName(point));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"on tune", "offset -20 Hz", "offset +20 Hz",
                                             "rate -0.5 %", "rate +0.5 %", "fading 15 dB / 10 s",
                                             "crashes 3/s at +20 dB"}));
  const std::vector<SweepPoint> points = PointsOf(options);
  EXPECT_EQ(points.size(), 2 * impairments.size() * options.snrDb.size());
  EXPECT_EQ(points.back().language, Language::Japanese);
  EXPECT_TRUE(points.back().crashes.has_value());
  EXPECT_EQ(points.back().snrDb, options.snrDb.back());
}

TEST(ReceptionRunTest, FadedAudioKeepsTheLevelTheSnrIsDefinedBy) {
  const SweepMessage message = MakeSweepMessage(Language::English, 2);
  SweepPoint point{Language::English, 0.0};
  point.fading = testsignal::FadingParameters{.depthDb = 15, .periodSeconds = 2};
  const auto plain = MessageAudio(SweepPoint{Language::English, 0.0}, message, 5);
  const auto faded = MessageAudio(point, message, 5);
  const auto rms = [](const std::vector<std::int16_t>& audio) {
    // The broadcast without the silences around it.
    const std::size_t skip = 44100;
    double power = 0;
    for (std::size_t i = skip; i < audio.size() - 2 * skip; ++i)
      power += static_cast<double>(audio[i]) * audio[i];
    return std::sqrt(power / static_cast<double>(audio.size() - 3 * skip));
  };
  EXPECT_NEAR(rms(plain), AudioRmsLevel, 0.02 * AudioRmsLevel);
  EXPECT_NEAR(rms(faded), AudioRmsLevel, 0.02 * AudioRmsLevel);
  EXPECT_NE(plain, faded);
  // Consecutive messages start at different phases of the fade.
  EXPECT_GT(std::abs(FadeStartPhase(1001) - FadeStartPhase(1002)), 0.1);
  EXPECT_LT(FadeStartPhase(4000000000u), 1.0);
}

TEST_F(ReceptionRunFixture, BothPathsHearTheSameAudio) {
  SweepPoint point{Language::Japanese, 8.0, 10.0, 0.005};
  point.fading = testsignal::FadingParameters{};
  point.crashes = CrashModel{.ratePerSecond = 1, .levelDb = 0};
  const SweepMessage message = MakeSweepMessage(Language::Japanese, 1);
  EXPECT_EQ(MessageAudio(point, message, 9), MessageAudio(point, message, 9));
  const MessageOutcome standard =
      ReceiveMessage(point, message, 9, ReceivePath::Standard, ReceiverMode::Automatic, scratch_);
  const MessageOutcome sensitive =
      ReceiveMessage(point, message, 9, ReceivePath::Sensitive, ReceiverMode::Automatic, scratch_);
  EXPECT_EQ(standard.audioDigest, sensitive.audioDigest);
  const MessageOutcome otherSeed =
      ReceiveMessage(point, message, 10, ReceivePath::Standard, ReceiverMode::Automatic, scratch_);
  EXPECT_NE(standard.audioDigest, otherSeed.audioDigest);

  // The sweep keeps each path's figures apart and counts every message for each.
  const std::vector<MeasuredPoint> measured =
      RunSweep({{Language::English, 20.0}}, 2, {ReceivePath::Standard, ReceivePath::Sensitive}, 2,
               {ReceiverMode::Automatic}, scratch_, [](int, int) {});
  ASSERT_EQ(measured.size(), 1u);
  for (const PointResult& result : measured[0].results) {
    EXPECT_EQ(result.messages, 2);
    EXPECT_EQ(result.filed, 2);
    EXPECT_GT(result.text.sentCharacters, 300u);
  }
  const std::vector<MeasuredPoint> oneOnly =
      RunSweep({{Language::English, 20.0}}, 1, {ReceivePath::Sensitive}, 1,
               {ReceiverMode::Automatic}, scratch_, [](int, int) {});
  EXPECT_EQ(oneOnly[0].results[PathIndex(ReceivePath::Standard)].messages, 0);
  EXPECT_EQ(oneOnly[0].results[PathIndex(ReceivePath::Sensitive)].messages, 1);
  EXPECT_TRUE(std::filesystem::is_empty(scratch_));
}

TEST_F(ReceptionRunFixture, CountsLogsUnderHeadersNotSentAndCopiesMadeWorse) {
  const SweepMessage sent = MakeSweepMessage(Language::English, 4);
  const SweepPoint strong{Language::English, 20.0};
  // The audio carries another header than the one the receiver is told was sent.
  const SweepMessage other = MakeSweepMessage(Language::English, 5);
  const MessageOutcome misfiled =
      ReceiveAudio(MessageAudio(strong, other, 3), sent, ReceivePath::Standard,
                   ReceiverMode::Automatic, scratch_);
  EXPECT_FALSE(misfiled.filed);
  EXPECT_EQ(misfiled.foreignLogs, 1);
  EXPECT_FALSE(misfiled.cleanCopyFiled);

  // A clean copy, then a clean repeat: nothing made worse.
  const auto clean = CleanAudio(strong, sent, 3);
  const MessageOutcome repeated =
      ReceiveAudio(MessageAudio(strong, sent, 3), sent, ReceivePath::Standard,
                   ReceiverMode::Automatic, scratch_, clean);
  EXPECT_TRUE(repeated.cleanCopyFiled);
  EXPECT_FALSE(repeated.replacedByWorse);
  EXPECT_EQ(repeated.foreignLogs, 0);
  EXPECT_EQ(repeated.text.errors, 0u) << "only the repeat's lines are counted";

  // A repeat under the same header whose text differs, received without a fault, replaces the
  // clean copy: the stored text is now worse.
  SweepMessage altered = sent;
  altered.body[1] = "THIS LINE WAS CHANGED.";
  altered.lines[2] = altered.body[1];
  std::string text;
  for (const std::string& line : altered.lines)
    text += line + "\r\n";
  altered.broadcast.text = text;
  const MessageOutcome worse =
      ReceiveAudio(MessageAudio(strong, altered, 3), sent, ReceivePath::Standard,
                   ReceiverMode::Automatic, scratch_, clean);
  EXPECT_TRUE(worse.cleanCopyFiled);
  EXPECT_TRUE(worse.replacedByWorse);
  EXPECT_GT(worse.filedBody.errors, 0u);

  PointResult sum;
  for (const MessageOutcome& outcome : {misfiled, repeated, worse})
    sum.Add(outcome);
  EXPECT_EQ(sum.foreignLogs, 1);
  EXPECT_EQ(sum.cleanCopies, 2);
  EXPECT_EQ(sum.replacedByWorse, 1);
  EXPECT_TRUE(std::filesystem::is_empty(scratch_));
}

TEST(ReceptionRunTest, SeedAndChannelChangeTheAudioAndBurstsCannotMeetCrashes) {
  const SweepMessage message = MakeSweepMessage(Language::English, 1);
  SweepPoint point{Language::English, 6.0};
  point.channel = ChannelModel{"rayleigh 1 Hz", testsignal::FlatRayleighPaths(1.0)};
  const auto faded = MessageAudio(point, message, 5);
  EXPECT_EQ(faded, MessageAudio(point, message, 5));
  EXPECT_NE(faded, MessageAudio(point, message, 6));
  EXPECT_NE(faded, MessageAudio({Language::English, 6.0}, message, 5));
  point.channel.reset();
  point.crashes = CrashModel{};
  point.bursts = BurstModel{};
  EXPECT_THROW(MessageAudio(point, message, 5), std::invalid_argument);
}

TEST_F(ReceptionRunFixture, NoiseAloneIsFiledByNeitherPathAndBothHearTheSameNoise) {
  const double hours = 20.0 / 3600;
  const auto outcomes = RunNoise(hours, {ReceivePath::Standard, ReceivePath::Sensitive},
                                 CrashModel{}, 2, scratch_, [](int, int) {});
  ASSERT_EQ(outcomes.size(), 4u);
  EXPECT_EQ(outcomes[0].path, ReceivePath::Standard);
  EXPECT_EQ(outcomes[1].path, ReceivePath::Sensitive);
  EXPECT_EQ(outcomes[0].audioDigest, outcomes[1].audioDigest);
  EXPECT_EQ(outcomes[2].audioDigest, outcomes[3].audioDigest);
  EXPECT_NE(outcomes[0].audioDigest, outcomes[2].audioDigest) << "crashes must change the noise";
  EXPECT_TRUE(outcomes[2].crashes.has_value());
  for (const NoiseOutcome& outcome : outcomes) {
    EXPECT_EQ(outcome.filed, 0);
    EXPECT_EQ(outcome.hours, hours);
  }
  EXPECT_TRUE(std::filesystem::is_empty(scratch_));
}

MeasuredPoint Measured(Language language, double snr, std::optional<double> offset,
                       std::array<int, 2> filed) {
  MeasuredPoint m;
  m.point = {language, snr, offset.value_or(0.0)};
  for (std::size_t path = 0; path < 2; ++path) {
    m.results[path].messages = 4;
    m.results[path].filed = filed[path];
    m.results[path].text = {1000, static_cast<std::size_t>(10 * (path + 1))};
  }
  return m;
}

TEST(SweepReportTest, PathsStandSideBySide) {
  SweepOptions options = ParseSweepOptions({});
  const std::vector<MeasuredPoint> measured{Measured(Language::English, -6, {}, {1, 4}),
                                            Measured(Language::English, -6, 20.0, {0, 3}),
                                            Measured(Language::Japanese, -6, {}, {2, 4})};
  std::ostringstream readme;
  WriteOnTuneTable(readme, options, measured);
  EXPECT_EQ(readme.str(),
            "| SNR (dB) | English CER std (%) | English CER sens (%) | English filed std | "
            "English filed sens | Japanese CER std (%) | Japanese CER sens (%) | Japanese filed "
            "std | Japanese filed sens |\n"
            "|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n"
            "| -6 | 1.00 | 2.00 | 1/4 | 4/4 | 1.00 | 2.00 | 2/4 | 4/4 |\n\n");

  std::ostringstream full;
  WriteSweepReport(full, options, measured, 1.0);
  EXPECT_NE(full.str().find("| English | offset +20 Hz | -6 | 1.00 | 2.00 | 0/4 | 3/4 | 0 | 0 |"),
            std::string::npos)
      << full.str();

  options.paths = {ReceivePath::Sensitive};
  std::ostringstream sensitiveOnly;
  WriteSweepReport(sensitiveOnly, options, measured, 1.0);
  EXPECT_EQ(sensitiveOnly.str().find("CER std"), std::string::npos);
  EXPECT_NE(sensitiveOnly.str().find("sensitive path only"), std::string::npos);
  EXPECT_NE(sensitiveOnly.str().find("| English | offset +20 Hz | -6 | 2.00 | 3/4 | 0 |"),
            std::string::npos);
}

TEST(SweepReportTest, IntegrityTableCountsWrongHeadersAndWorseCopiesPerPathWithTotals) {
  SweepOptions options = ParseSweepOptions({});
  std::vector<MeasuredPoint> measured{Measured(Language::English, -8, {}, {1, 4}),
                                      Measured(Language::English, -6, {}, {2, 4})};
  measured[0].results[1].foreignLogs = 1;
  measured[1].results[1].foreignLogs = 2;
  measured[1].results[0].cleanCopies = 4;
  measured[1].results[0].replacedByWorse = 1;
  std::ostringstream out;
  WriteIntegrityTable(out, options, measured);
  EXPECT_NE(out.str().find("| English | on tune | -8 | 1/4 | 4/4 | 0 | 1 | - | - |"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("| English | on tune | -6 | 2/4 | 4/4 | 0 | 2 | 1/4 | - |"),
            std::string::npos);
  EXPECT_NE(out.str().find("| all | | | 3/8 | 8/8 | 0 | 3 | 1/4 | - |"), std::string::npos);
}

}  // namespace
}  // namespace seaherald::sensitivity
