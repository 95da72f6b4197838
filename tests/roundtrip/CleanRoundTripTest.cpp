// Clean broadcasts of both services decode to exactly the lines that were sent, whatever language
// and polarity the receiver starts in when it may choose them itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/Receiver.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

using testsignal::Language;
using testsignal::SignalOptions;
using testsignal::Transmission;

struct AutomaticCase {
  Language language;
  bool signalInverted;
  bool startEnglish;
  bool startInverted;
};

void PrintTo(const AutomaticCase& c, std::ostream* out) {
  *out << (c.language == Language::English ? "English" : "Japanese")
       << (c.signalInverted ? " inverted" : " normal") << ", receiver starts in "
       << (c.startEnglish ? "English" : "Japanese") << (c.startInverted ? " inverted" : " normal");
}

std::string CaseName(const testing::TestParamInfo<AutomaticCase>& info) {
  const AutomaticCase& c = info.param;
  return std::string(c.language == Language::English ? "English" : "Japanese") +
         (c.signalInverted ? "Inverted" : "Normal") + "_StartIn" +
         (c.startEnglish ? "English" : "Japanese") + (c.startInverted ? "Inverted" : "Normal");
}

std::vector<AutomaticCase> AllAutomaticCases() {
  std::vector<AutomaticCase> cases;
  for (const Language language : {Language::English, Language::Japanese}) {
    for (const bool signalInverted : {false, true}) {
      for (const bool startEnglish : {false, true}) {
        for (const bool startInverted : {false, true}) {
          cases.push_back({language, signalInverted, startEnglish, startInverted});
        }
      }
    }
  }
  return cases;
}

class AutomaticModeRoundTrip : public testing::TestWithParam<AutomaticCase> {};

TEST_P(AutomaticModeRoundTrip, FindsLanguageAndPolarityFromPhasing) {
  const AutomaticCase& c = GetParam();
  const Transmission transmission =
      c.language == Language::English ? EnglishBroadcast() : JapaneseBroadcast();
  SignalOptions options;
  options.inverted = c.signalInverted;
  Receiver receiver({.english = c.startEnglish, .inverted = c.startInverted, .autoSet = true});
  receiver.Feed(AudioOf(transmission, options));
  EXPECT_EQ(receiver.Lines(), LinesOf(transmission));
  EXPECT_EQ(receiver.English(), c.language == Language::English);
  EXPECT_EQ(receiver.Inverted(), c.signalInverted);
}

INSTANTIATE_TEST_SUITE_P(AllStarts, AutomaticModeRoundTrip, testing::ValuesIn(AllAutomaticCases()),
                         CaseName);

TEST(ManualModeRoundTrip, RightSettingsDecodeBothServicesAndPolarities) {
  for (const bool inverted : {false, true}) {
    SignalOptions options;
    options.inverted = inverted;
    for (const Transmission& transmission : {EnglishBroadcast(), JapaneseBroadcast()}) {
      const bool english = transmission.language == Language::English;
      Receiver receiver({.english = english, .inverted = inverted, .autoSet = false});
      receiver.Feed(AudioOf(transmission, options));
      EXPECT_EQ(receiver.Lines(), LinesOf(transmission)) << english << inverted;
    }
  }
}

TEST(ManualModeRoundTrip, EnglishWithWrongPolarityGivesNoText) {
  SignalOptions options;
  options.inverted = true;
  Receiver receiver({.english = true, .inverted = false, .autoSet = false});
  receiver.Feed(AudioOf(EnglishBroadcast(), options));
  EXPECT_TRUE(receiver.Lines().empty()) << testing::PrintToString(receiver.Lines());
  EXPECT_FALSE(receiver.Inverted());
}

TEST(ManualModeRoundTrip, JapaneseWithWrongPolarityGivesNoneOfTheText) {
  // A complemented Japanese character still passes the zero-count check (seven data bits and
  // the count both turn into their complements to 7), so the receiver may sync on the
  // complemented text and hand over nonsense; what it must not do is produce the message.
  SignalOptions options;
  options.inverted = true;
  const Transmission transmission = JapaneseBroadcast();
  Receiver receiver({.english = false, .inverted = false, .autoSet = false});
  receiver.Feed(AudioOf(transmission, options));
  for (const ReceivedLine& sent : LinesOf(transmission)) {
    EXPECT_EQ(std::count_if(receiver.Lines().begin(), receiver.Lines().end(),
                            [&](const ReceivedLine& got) { return got.text == sent.text; }),
              0);
  }
  EXPECT_FALSE(receiver.Inverted());
  EXPECT_FALSE(receiver.English());
}

TEST(ManualModeRoundTrip, WrongLanguageGivesNoneOfTheText) {
  const Transmission english = EnglishBroadcast();
  Receiver japaneseReceiver({.english = false, .autoSet = false});
  japaneseReceiver.Feed(AudioOf(english, {}));
  EXPECT_TRUE(japaneseReceiver.Lines().empty()) << testing::PrintToString(japaneseReceiver.Lines());
  EXPECT_FALSE(japaneseReceiver.English());

  const Transmission japanese = JapaneseBroadcast();
  Receiver englishReceiver({.english = true, .autoSet = false});
  englishReceiver.Feed(AudioOf(japanese, {}));
  EXPECT_TRUE(englishReceiver.Lines().empty()) << testing::PrintToString(englishReceiver.Lines());
  EXPECT_TRUE(englishReceiver.English());
}

TEST(CleanRoundTrip, LeadingAndTrailingSilenceChangeNothing) {
  SignalOptions options;
  options.leadingSilenceSeconds = 1.37;
  options.trailingSilenceSeconds = 2.0;
  for (const Transmission& transmission : {EnglishBroadcast(), JapaneseBroadcast()}) {
    EXPECT_EQ(DecodeAudio(AudioOf(transmission, options), {}), LinesOf(transmission));
  }
}

TEST(CleanRoundTrip, ShiftChangesInsideWords) {
  const Transmission transmission = EnglishBroadcast(
      "ZCZC OA01\r\nPOS 35-12.5N 139-45.0E (WGS84)\r\nCH16/CH70 QRZ? 1A2B3C\r\nNNNN\r\n");
  EXPECT_EQ(DecodeAudio(AudioOf(transmission, {}), {}), LinesOf(transmission));
}

TEST(CleanRoundTrip, JapaneseKanjiFromEveryLeadByteRange) {
  // Lead bytes below and above the gap at 0xA0-0xDF, trail bytes on both sides of 0x7F and both
  // halves of each row pair.
  const Transmission transmission = JapaneseBroadcast(
      "ＺＣＺＣ　ＭＡ９８７\r\n漾　瑤　ヾ　ゞ　ア　ン　〜　¬\r\n津波注意報　発表\r\nＮＮＮＮ\r\n");
  EXPECT_EQ(DecodeAudio(AudioOf(transmission, {}), {}), LinesOf(transmission));
}

}  // namespace
}  // namespace seaherald::roundtrip
