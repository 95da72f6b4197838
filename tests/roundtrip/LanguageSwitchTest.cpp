// A receiver left in automatic mode follows the service from one broadcast to the next.
#include <gtest/gtest.h>

#include <vector>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/Receiver.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

using testsignal::Transmission;

std::vector<ReceivedLine> AllLines(const std::vector<Transmission>& transmissions) {
  std::vector<ReceivedLine> lines;
  for (const Transmission& t : transmissions) {
    for (const ReceivedLine& line : LinesOf(t))
      lines.push_back(line);
  }
  return lines;
}

TEST(LanguageSwitch, EnglishJapaneseEnglishBackToBack) {
  std::vector<Transmission> transmissions{
      EnglishBroadcast(), JapaneseBroadcast(),
      EnglishBroadcast("ZCZC GA13\r\nSECOND ENGLISH MESSAGE\r\nNNNN\r\n")};
  for (const bool startEnglish : {false, true}) {
    Receiver receiver({.english = startEnglish});
    receiver.Feed(AudioOf(transmissions));
    EXPECT_EQ(receiver.Lines(), AllLines(transmissions));
    EXPECT_TRUE(receiver.English());
  }
}

TEST(LanguageSwitch, JapaneseEnglishJapaneseWithGaps) {
  std::vector<Transmission> transmissions{
      JapaneseBroadcast(), EnglishBroadcast(),
      JapaneseBroadcast("ＺＣＺＣ　ＧＡ１２４\r\n第二報\r\nＮＮＮＮ\r\n")};
  transmissions[1].silenceBeforeSeconds = 2.0;
  transmissions[2].silenceBeforeSeconds = 1.3;
  testsignal::SignalOptions options;
  options.inverted = true;
  Receiver receiver({.english = false, .inverted = false});
  receiver.Feed(AudioOf(transmissions, options));
  EXPECT_EQ(receiver.Lines(), AllLines(transmissions));
  EXPECT_FALSE(receiver.English());
  EXPECT_TRUE(receiver.Inverted());
}

TEST(LanguageSwitch, ManualModeStaysInItsLanguage) {
  const std::vector<Transmission> transmissions{JapaneseBroadcast(), EnglishBroadcast()};
  Receiver receiver({.english = false, .autoSet = false});
  receiver.Feed(AudioOf(transmissions));
  EXPECT_EQ(receiver.Lines(), LinesOf(transmissions[0]));
  EXPECT_FALSE(receiver.English());
}

}  // namespace
}  // namespace seaherald::roundtrip
