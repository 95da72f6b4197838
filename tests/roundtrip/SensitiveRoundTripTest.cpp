// The high-sensitivity receive path: signals too weak or too far off for the standard path must
// still arrive whole, and it must keep every other promise of the receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "decoder/DecoderChannel.h"
#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/Receiver.h"
#include "tests/support/FadingChannel.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

using testsignal::Language;
using testsignal::SignalOptions;
using testsignal::Transmission;

// Stations send ten seconds of phasing or more; the receiver locks on to it.
constexpr double StationPhasingSeconds = 10.0;

// Text that begins with its first character right after the phasing, no line feed between.
Transmission JapanesePhasingThenText() {
  Transmission transmission =
      JapaneseBroadcast("おしらせ\r\nＺＣＺＣ　ＩＥ５９２\r\nおおしけ　ちゅうい\r\nＮＮＮＮ\r\n");
  transmission.phasingSeconds = StationPhasingSeconds;
  return transmission;
}

Transmission Broadcast(Language language) {
  Transmission transmission =
      language == Language::English ? EnglishBroadcast() : JapaneseBroadcast();
  transmission.phasingSeconds = StationPhasingSeconds;
  return transmission;
}

struct WeakCase {
  std::string name;
  Language language;
  bool inverted = false;
  double snrDb = -4.0;
  double offsetHz = 0;
  double rateError = 0;
  std::uint32_t seed = 1;
};

void PrintTo(const WeakCase& c, std::ostream* out) {
  *out << c.name;
}

class WeakSignal : public testing::TestWithParam<WeakCase> {};

// Automatic mode, starting in the other service with the other polarity: the path has to find
// both from the phasing, then copy the message letter for letter where the standard path copies
// next to nothing.
TEST_P(WeakSignal, SensitivePathCopiesWhatTheStandardPathLoses) {
  const WeakCase& c = GetParam();
  const Transmission transmission = Broadcast(c.language);
  SignalOptions options;
  options.snrDb = c.snrDb;
  options.seed = c.seed;
  options.inverted = c.inverted;
  options.fsk.amplitude = 4000;
  options.fsk.offsetHz = c.offsetHz;
  options.fsk.rateError = c.rateError;
  const auto audio = AudioOf(transmission, options);
  const bool english = c.language == Language::English;
  ReceiverSetup setup{.english = !english, .inverted = !c.inverted};

  setup.sensitive = true;
  Receiver sensitive(setup);
  sensitive.Feed(audio);
  EXPECT_EQ(sensitive.Lines(), LinesOf(transmission));
  EXPECT_EQ(sensitive.English(), english);
  EXPECT_EQ(sensitive.Inverted(), c.inverted);

  setup.sensitive = false;
  EXPECT_NE(DecodeAudio(audio, setup), LinesOf(transmission)) << "not a test of sensitivity";
}

std::vector<WeakCase> WeakCases() {
  std::vector<WeakCase> cases;
  for (const Language language : {Language::English, Language::Japanese}) {
    const std::string tag = language == Language::English ? "English" : "Japanese";
    cases.push_back({tag + "Minus4dB", language});
    cases.push_back({tag + "Minus4dBInverted", language, true});
    cases.push_back({tag + "Minus6dB", language, false, -6.0});
    cases.push_back({tag + "Minus3dBMistuned25Hz", language, false, -3.0, 25.0});
    cases.push_back({tag + "Minus3dBMistunedLow25Hz", language, true, -3.0, -25.0});
    cases.push_back({tag + "Minus3dBClockFast0_5Percent", language, false, -3.0, 0, 0.005});
    cases.push_back({tag + "Minus3dBClockSlow0_5Percent", language, false, -3.0, 0, -0.005});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Sensitive, WeakSignal, testing::ValuesIn(WeakCases()),
                         [](const auto& info) { return info.param.name; });

TEST(SensitiveRoundTrip, FollowsTheServiceFromOneBroadcastToTheNext) {
  std::vector<Transmission> broadcasts{Broadcast(Language::English), Broadcast(Language::Japanese),
                                       Broadcast(Language::English)};
  for (Transmission& broadcast : broadcasts)
    broadcast.silenceBeforeSeconds = 2.0;
  SignalOptions options;
  options.snrDb = 0.0;
  options.fsk.amplitude = 4000;
  std::vector<ReceivedLine> expected;
  for (const Transmission& broadcast : broadcasts) {
    const auto lines = LinesOf(broadcast);
    expected.insert(expected.end(), lines.begin(), lines.end());
  }
  // Nothing is read from the noise between broadcasts.
  EXPECT_EQ(DecodeAudio(AudioOf(broadcasts, options), {.sensitive = true}), expected);
}

TEST(SensitiveRoundTrip, ManualModeKeepsTheSetServiceAndPolarity) {
  SignalOptions options;
  options.snrDb = 0.0;
  options.fsk.amplitude = 4000;
  const auto audio = AudioOf(Broadcast(Language::English), options);
  Receiver wrongService({.english = false, .autoSet = false, .sensitive = true});
  wrongService.Feed(audio);
  EXPECT_FALSE(wrongService.English());
  EXPECT_TRUE(wrongService.Lines().empty()) << testing::PrintToString(wrongService.Lines());
  Receiver rightService({.english = true, .autoSet = false, .sensitive = true});
  rightService.Feed(audio);
  EXPECT_EQ(rightService.Lines(), LinesOf(Broadcast(Language::English)));
}

// The path changes between two blocks, in the middle of a line: what was received of the line is
// handed over as cut, and the new path takes up the text on its own.
TEST(SensitiveRoundTrip, SwitchOfPathBetweenBlocksHandsTheLineOverCut) {
  const Transmission transmission = Broadcast(Language::English);
  SignalOptions options;
  options.snrDb = 20.0;
  const auto audio = AudioOf(transmission, options);
  const auto sent = LinesOf(transmission);
  for (const bool toSensitive : {true, false}) {
    Receiver receiver({.english = true, .sensitive = !toSensitive});
    std::size_t at = 0;
    const auto feedBlock = [&] {
      receiver.Feed(std::span(audio).subspan(at, BlockFrames));
      at += BlockFrames;
    };
    while (receiver.Lines().empty())
      feedBlock();
    for (int block = 0; block < 15; ++block)
      feedBlock();
    ASSERT_FALSE(receiver.decoder().Line(0).empty()) << "the switch must come mid-line";
    const std::string partial = receiver.decoder().Line(0);
    receiver.SetSensitive(toSensitive);
    receiver.Feed(std::span(audio).subspan(at));
    EXPECT_EQ(receiver.decoder().Channel(0).SensitivePath(), toSensitive);
    const auto& lines = receiver.Lines();
    ASSERT_GE(lines.size(), 3u) << testing::PrintToString(lines);
    EXPECT_EQ(lines[0], sent[0]);
    EXPECT_EQ(lines[1], (ReceivedLine{partial, true}));
    EXPECT_TRUE(sent[1].text.starts_with(partial));
    EXPECT_EQ(lines.back(), sent.back()) << "the new path goes on to the end of the message";
  }
}

// Seconds of phasing, at an SNR where the odd phasing pair is misread, must not print the misread
// pairs before the text; nor may the noise after the station has stopped be read as characters.
TEST(SensitiveRoundTrip, WeakBroadcastsLeaveNothingBeforeTheStartOrAfterTheEnd) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    const auto sent = LinesOf(transmission);
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
      SignalOptions options;
      options.snrDb = -7.0;
      options.seed = seed;
      options.fsk.amplitude = 4000;
      options.leadingSilenceSeconds = 2.0;
      options.trailingSilenceSeconds = 8.0;
      const auto lines = DecodeAudio(AudioOf(transmission, options), {.sensitive = true});
      ASSERT_FALSE(lines.empty());
      // The start marker opens the first line (a weak header may have a wrong character).
      const std::size_t markerBytes = language == Language::English ? 4 : 8;
      EXPECT_EQ(lines.front().text.substr(0, markerBytes), sent.front().text.substr(0, markerBytes))
          << seed << testing::PrintToString(lines);
      EXPECT_EQ(lines.back().text, sent.back().text) << seed << testing::PrintToString(lines);
    }
  }
}

// A clean signal gives the standard path's text, letter for letter: text that begins right after
// the phasing, words of the top row that read as figures beside a number, a shift in a word.
TEST(SensitiveRoundTrip, CleanSignalsGiveTheStandardPathsText) {
  const std::vector<Transmission> broadcasts{
      EnglishBroadcast("ZCZC GA15\r\nLIGHT ON TOWER AT PIER 3 (3FRT4) UNLIT\r\nNNNN\r\n"),
      JapanesePhasingThenText()};
  for (const Transmission& sent : broadcasts) {
    for (const double snr : {10.0, 20.0}) {
      SignalOptions options;
      options.snrDb = snr;
      options.fsk.amplitude = 4000;
      const auto audio = AudioOf(sent, options);
      const bool english = sent.language == Language::English;
      const auto standard = DecodeAudio(audio, {.english = english});
      ASSERT_EQ(standard, LinesOf(sent)) << snr;
      EXPECT_EQ(DecodeAudio(audio, {.english = english, .sensitive = true}), standard) << snr;
    }
  }
}

// Sky waves fade: a second or so with both copies of some characters in a fade must neither end
// the line nor print noise, and the message is filed.
TEST(SensitiveRoundTrip, RayleighFadingKeepsTheLine) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    const auto sent = LinesOf(transmission);
    for (const double doppler : {0.5, 2.0}) {
      SignalOptions options;
      options.snrDb = 12.0;
      options.seed = 3;
      options.fsk.amplitude = 4000;
      options.channel = testsignal::FlatRayleighPaths(doppler);
      const auto lines = DecodeAudio(AudioOf(transmission, options), {.sensitive = true});
      ASSERT_EQ(lines.size(), sent.size()) << doppler << testing::PrintToString(lines);
      for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_FALSE(lines[i].cut) << doppler << testing::PrintToString(lines);
        EXPECT_EQ(lines[i].text.size(), sent[i].text.size()) << doppler << " line " << i;
      }
      EXPECT_EQ(lines.front(), sent.front());
      EXPECT_EQ(lines.back(), sent.back());
    }
  }
}

TEST(SensitiveRoundTrip, NoiseAloneHandsNothingOver) {
  for (const double level : {300.0, 3000.0, 12000.0}) {
    std::vector<double> noise(static_cast<std::size_t>(120 * testsignal::SignalSampleRate));
    testsignal::GaussianNoise(7).AddTo(noise, level);
    Receiver receiver({.sensitive = true});
    receiver.Feed(testsignal::ToPcm16(noise));
    EXPECT_TRUE(receiver.Lines().empty())
        << level << ": " << testing::PrintToString(receiver.Lines());
  }
}

// The tuning display shows how far the station is off while it is copied, and nothing without
// a station.
TEST(SensitiveRoundTrip, TuningOffsetFollowsTheStation) {
  for (const double offset : {-20.0, 12.0}) {
    SignalOptions options;
    options.snrDb = 10.0;
    options.fsk.offsetHz = offset;
    const auto audio = AudioOf(Broadcast(Language::English), options);
    Receiver receiver({.english = true, .sensitive = true});
    const std::size_t half = audio.size() / 2 / BlockFrames * BlockFrames;
    receiver.Feed(std::span(audio).first(half));
    EXPECT_NEAR(receiver.decoder().TuningOffset(), offset, 2.0);
  }
  Receiver quiet({.sensitive = true});
  quiet.Feed(std::vector<std::int16_t>(20 * BlockFrames));
  EXPECT_EQ(quiet.decoder().TuningOffset(), 0.0);
}

}  // namespace
}  // namespace seaherald::roundtrip
