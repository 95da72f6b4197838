#include <gtest/gtest.h>

#include "tests/decoder/CharacterHarness.h"

namespace seaherald {
namespace {

using test::Bits;
using test::CharacterHarness;
using test::FirstCopyBit;
using test::JapaneseTransmission;
using test::ReceivedLine;
using test::SecondCopyBit;

constexpr int Phasing = 10;
constexpr int PhasingSyncBit = 6 * 10 - 1;
const std::string FullWidthN = "\x82\x6D";        // JIS 35, 78
const std::string IdeographicSpace = "\x81\x40";  // JIS 33, 33

CharacterHarness Japanese(bool inverted = false, bool automatic = false) {
  return CharacterHarness(false, inverted, automatic);
}

TEST(JapaneseDecoding, PhasingGivesSyncAndHoldsWithoutCharacters) {
  CharacterHarness h = Japanese();
  const Bits bits = JapaneseTransmission({}, 40);
  EXPECT_EQ(h.FeedUntilSync(bits), PhasingSyncBit);
  h.Feed(Bits(bits.begin() + PhasingSyncBit + 1, bits.end()));
  EXPECT_TRUE(h.decoder.CharSync());
  EXPECT_TRUE(h.sink.lines.empty());
}

TEST(JapaneseDecoding, PairsBecomeShiftJisAndTheLineGrowsTwoBytesAtATime) {
  CharacterHarness h = Japanese();
  h.Feed(JapaneseTransmission({35, 78, 13, 33, 33, 10}, Phasing));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{FullWidthN + IdeographicSpace, false}}));
  EXPECT_EQ(h.sink.liveLines,
            (std::vector<std::string>{FullWidthN, FullWidthN + IdeographicSpace}));
}

TEST(JapaneseDecoding, LineFeedDropsAWaitingHalf) {
  CharacterHarness h = Japanese();
  h.Feed(JapaneseTransmission({35, 78, 33, 10, 35, 78, 10}, Phasing));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{FullWidthN, false}, {FullWidthN, false}}));
}

// Phasing pairs checked in sync between two transmissions drop the half that waits.
TEST(JapaneseDecoding, PhasingPairInSyncDropsAWaitingHalf) {
  CharacterHarness h = Japanese();
  h.Feed(JapaneseTransmission({35, 78, 35}, Phasing));
  EXPECT_EQ(h.decoder.Codes().JisCount(), 1);
  h.Feed(JapaneseTransmission({33, 33, 10}, 4));
  EXPECT_TRUE(h.decoder.CharSync());
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{FullWidthN + IdeographicSpace, false}}));
}

TEST(JapaneseDecoding, PhasingValueInSyncDropsTheLine) {
  for (int phasingValue : {4, 25}) {
    CharacterHarness h = Japanese();
    h.Feed(JapaneseTransmission({35, 78, phasingValue, 33, 33, 10}, Phasing));
    EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{IdeographicSpace, false}})) << phasingValue;
  }
}

TEST(JapaneseDecoding, AgreedCharacterWithWrongZeroCountEndsLineCut) {
  Bits bits = JapaneseTransmission({35, 78, 33, 33, 10}, Phasing);
  // Both copies of the third character get the same wrong check bit.
  for (std::size_t copy : {FirstCopyBit(Phasing, 2, 10), SecondCopyBit(Phasing, 2, 10)}) {
    bits[copy + 9] ^= 1;
  }
  CharacterHarness h = Japanese();
  h.Feed(Bits(bits.begin(), bits.begin() + SecondCopyBit(Phasing, 2, 10) + 10));
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_EQ(h.decoder.Codes().JisCount(), 0);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{FullWidthN, true}}));
}

TEST(JapaneseDecoding, DisagreeingCopiesEndLineCutAndOneAgreedCharacterResyncs) {
  Bits bits = JapaneseTransmission({35, 78, 33, 33, 35, 78, 35, 78, 10}, Phasing);
  bits[FirstCopyBit(Phasing, 2, 10) + 4] ^= 1;
  CharacterHarness h = Japanese();
  h.Feed(bits);
  // Sync returns at the copy of the fourth character, which starts a pair of its own: the halves
  // that follow pair up anew, (33, 35) and (78, 35), and the last 78 is dropped by the line feed.
  const std::vector<ReceivedLine> expected = {{FullWidthN, true}, {"\x81\x42\x97\xA1", false}};
  EXPECT_EQ(h.sink.lines, expected);
}

TEST(JapaneseDecoding, ChecksExactlyEveryTwentyBitsFromSync) {
  CharacterHarness h = Japanese();
  ASSERT_EQ(h.FeedUntilSync(JapaneseTransmission({}, 10)), PhasingSyncBit);
  for (int i = 1; i <= 19; ++i) {
    h.decoder.TakeBit(0);
    ASSERT_TRUE(h.decoder.CharSync());
    ASSERT_EQ(h.decoder.PairBitCounter(), i);
  }
  h.decoder.TakeBit(0);
  EXPECT_FALSE(h.decoder.CharSync());
}

TEST(JapaneseDecoding, InvertedPhasingTogglesPolarityOnlyInAutomaticMode) {
  const Bits bits = JapaneseTransmission({35, 78, 10}, Phasing, true);
  CharacterHarness automatic = Japanese(false, true);
  EXPECT_EQ(automatic.FeedUntilSync(bits), PhasingSyncBit);
  EXPECT_TRUE(automatic.decInv);
  automatic.Feed(Bits(bits.begin() + PhasingSyncBit + 1, bits.end()));
  EXPECT_EQ(automatic.sink.lines, (std::vector<ReceivedLine>{{FullWidthN, false}}));

  CharacterHarness manual = Japanese();
  EXPECT_EQ(manual.FeedUntilSync(bits), PhasingSyncBit);
  EXPECT_FALSE(manual.decInv);
  manual.Feed(Bits(bits.begin() + PhasingSyncBit + 1, bits.begin() + PhasingSyncBit + 21));
  EXPECT_FALSE(manual.decoder.CharSync());
}

TEST(JapaneseDecoding, AutomaticModeFollowsAnEnglishStationOfEitherPolarity) {
  for (bool inverted : {false, true}) {
    CharacterHarness h = Japanese(false, true);
    h.Feed(test::EnglishTransmission(test::EnglishCodes("NNNN\n"), 12, inverted));
    EXPECT_TRUE(h.decLang);
    EXPECT_EQ(h.decInv, inverted);
    EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"NNNN", false}})) << inverted;

    CharacterHarness manual = Japanese();
    manual.Feed(test::EnglishTransmission({}, 12, inverted));
    EXPECT_FALSE(manual.decLang);
  }
}

TEST(JapaneseDecoding, EverySyncBitKeepsTheLampOnAndResetsIdleSeconds) {
  CharacterHarness h = Japanese();
  const Bits bits = JapaneseTransmission({}, 20);
  ASSERT_EQ(h.FeedUntilSync(bits), PhasingSyncBit);
  for (std::size_t i = PhasingSyncBit + 1; i < bits.size(); ++i) {
    h.indicators.LedCount = 3;
    h.indicators.IdleSeconds = 9;
    h.decoder.TakeBit(bits[i]);
    ASSERT_EQ(h.indicators.LedCount, 0);
    ASSERT_EQ(h.indicators.IdleSeconds, 0);
  }
  // Searching leaves both alone.
  CharacterHarness searching = Japanese();
  searching.indicators.IdleSeconds = 9;
  searching.indicators.LedCount = 3;
  searching.Feed(Bits(59, 1));
  EXPECT_EQ(searching.indicators.IdleSeconds, 9);
  EXPECT_EQ(searching.indicators.LedCount, 3);
}

// After a change from Japanese to English mode in sync the counter can stand above the English
// limit; the check then comes at the next bit rather than never, the copies disagree, and the
// line in progress is handed over cut. A waiting JIS half is dropped with the sync.
TEST(ModeChange, JapaneseToEnglishInSyncChecksAtTheNextBit) {
  CharacterHarness h = Japanese();
  const Bits bits = JapaneseTransmission({35, 78, 33, 40, 40, 40}, Phasing);
  const std::size_t afterThirdCharacter = SecondCopyBit(Phasing, 2, 10) + 10;
  h.Feed(Bits(bits.begin(), bits.begin() + afterThirdCharacter + 16));
  ASSERT_TRUE(h.decoder.CharSync());
  ASSERT_EQ(h.decoder.PairBitCounter(), 16);
  ASSERT_EQ(h.decoder.Codes().JisCount(), 1);
  h.decLang = true;
  h.decoder.TakeBit(bits[afterThirdCharacter + 16]);
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_EQ(h.decoder.Codes().JisCount(), 0);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{FullWidthN, true}}));
}

TEST(ModeChange, EnglishToJapaneseInSyncFailsAtTheNextJapaneseCheck) {
  CharacterHarness h;
  const Bits bits = test::EnglishTransmission(test::EnglishCodes("ABCDEFGH"), 12);
  const std::size_t afterC = SecondCopyBit(12, 2, 7) + 7;
  h.Feed(Bits(bits.begin(), bits.begin() + afterC));
  ASSERT_EQ(h.decoder.Line(), "ABC");
  h.decLang = false;
  std::size_t i = afterC;
  while (h.decoder.CharSync() && i < bits.size())
    h.decoder.TakeBit(bits[i++]);
  EXPECT_EQ(i - afterC, 20u);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"ABC", true}}));
}

}  // namespace
}  // namespace seaherald
