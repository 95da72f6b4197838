#include <gtest/gtest.h>

#include "tests/decoder/CharacterHarness.h"

namespace seaherald {
namespace {

using test::Bits;
using test::CharacterHarness;
using test::EnglishCodes;
using test::EnglishTransmission;
using test::FirstCopyBit;
using test::ReceivedLine;
using test::SecondCopyBit;

constexpr int Phasing = 12;
// Sync from phasing comes with the first RX phasing character whose DX partner is five
// positions back: the end of character 5.
constexpr int PhasingSyncBit = 6 * 7 - 1;

TEST(EnglishDecoding, PhasingGivesSyncWithinOnePairAndHoldsWithoutCharacters) {
  CharacterHarness h;
  const Bits bits = EnglishTransmission({}, 60);
  EXPECT_EQ(h.FeedUntilSync(bits), PhasingSyncBit);
  for (std::size_t i = PhasingSyncBit + 1; i < bits.size(); ++i) {
    h.decoder.TakeBit(bits[i]);
    ASSERT_TRUE(h.decoder.CharSync()) << i;
  }
  EXPECT_TRUE(h.sink.lines.empty());
  EXPECT_TRUE(h.sink.liveLines.empty());
}

// The sink hears of phasing only while it begins a transmission: in sync from phasing, before any
// character. The first match while searching (noise gives one now and then) and phasing after a
// text stay unheard.
TEST(EnglishDecoding, OnlyThePhasingThatBeginsATransmissionIsTold) {
  CharacterHarness h;
  const Bits text = EnglishTransmission(EnglishCodes("ZCZC GA01\nA\n"), Phasing);
  EXPECT_EQ(h.FeedUntilSync(text), PhasingSyncBit);
  EXPECT_EQ(h.sink.phasings, 0) << "the match that gave sync";
  h.Feed(Bits(text.begin() + PhasingSyncBit + 1, text.end()));
  const int beginning = h.sink.phasings;
  EXPECT_GT(beginning, 0);
  h.Feed(EnglishTransmission({}, 20));  // phasing after the text, sync held
  EXPECT_TRUE(h.decoder.CharSync());
  EXPECT_EQ(h.sink.phasings, beginning);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"ZCZC GA01", false}, {"A", false}}));
}

// A line feed ends the line, not the shift.
TEST(EnglishDecoding, FiguresShiftSurvivesALineFeed) {
  CharacterHarness h;
  h.Feed(EnglishTransmission({54, 58, 27, 58, 27}, Phasing));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"1", false}, {"1", false}}));
}

TEST(EnglishDecoding, MessageLinesHandedOverWithoutLineEnds) {
  CharacterHarness h;
  h.Feed(EnglishTransmission(EnglishCodes("ZCZC NA01\nTEST 123 (X)\nNNNN\n"), Phasing));
  const std::vector<ReceivedLine> expected = {
      {"ZCZC NA01", false}, {"TEST 123 (X)", false}, {"NNNN", false}};
  EXPECT_EQ(h.sink.lines, expected);
  // The live line grows one character at a time.
  ASSERT_EQ(h.sink.liveLines.size(), 9u + 12u + 4u);
  EXPECT_EQ(h.sink.liveLines[0], "Z");
  EXPECT_EQ(h.sink.liveLines[8], "ZCZC NA01");
  EXPECT_EQ(h.sink.liveLines[9], "T");
  EXPECT_TRUE(h.decoder.CharSync());
  EXPECT_TRUE(h.decoder.Line().empty());
}

TEST(EnglishDecoding, FiguresAndLettersShift) {
  CharacterHarness h;
  h.Feed(EnglishTransmission({54, 58, 45, 58, 27}, Phasing));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"1Q", false}}));
  EXPECT_EQ(h.decoder.Codes().ShiftState(), 0);
}

TEST(EnglishDecoding, CarriageReturnIgnoredLineFeedEndsLineEmptyLineCallsNothing) {
  CharacterHarness h;
  h.Feed(EnglishTransmission({113, 15, 39, 27, 27, 15, 27, 113, 27}, Phasing));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"AB", false}, {"A", false}}));
  EXPECT_TRUE(h.decoder.CharSync());
}

TEST(EnglishDecoding, CodeWithoutFigureEndsLineUncutAndLosesSync) {
  CharacterHarness h;
  const std::vector<int> codes = {113, 54, 58, 105};  // A, figures, 1, then S: no figure
  const Bits bits = EnglishTransmission(codes, Phasing);
  const std::size_t check = SecondCopyBit(Phasing, 3, 7) + 6;
  h.Feed(Bits(bits.begin(), bits.begin() + check));
  EXPECT_TRUE(h.decoder.CharSync());
  h.decoder.TakeBit(bits[check]);
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"A1", false}}));
  EXPECT_EQ(h.decoder.Codes().ShiftState(), 1);  // not reset by the loss of sync
}

TEST(EnglishDecoding, AgreedCharacterOfWrongWeightEndsLineUncut) {
  const std::vector<int> codes = EnglishCodes("AB CD");
  Bits bits = EnglishTransmission(codes, Phasing);
  // Both copies of 'C' get the same extra 1 bit.
  for (std::size_t copy : {FirstCopyBit(Phasing, 3, 7), SecondCopyBit(Phasing, 3, 7)}) {
    ASSERT_EQ(bits[copy + 5], 0);
    bits[copy + 5] = 1;
  }
  CharacterHarness h;
  h.Feed(Bits(bits.begin(), bits.begin() + SecondCopyBit(Phasing, 3, 7) + 7));
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"AB ", false}}));
}

class EnglishSingleBitError : public testing::TestWithParam<bool> {};

// A bit error in either copy ends the line cut; sync returns from the data at the next agreed
// character, and what was sent meanwhile is lost.
TEST_P(EnglishSingleBitError, EndsLineCutAndResyncsFromData) {
  const bool inSecondCopy = GetParam();
  const std::vector<int> codes = EnglishCodes("HELLO WORLD\nNEXT LINE\n");
  Bits bits = EnglishTransmission(codes, Phasing);
  const int w = 6;  // 'W'
  const std::size_t copy =
      inSecondCopy ? SecondCopyBit(Phasing, w, 7) : FirstCopyBit(Phasing, w, 7);
  bits[copy + 2] ^= 1;
  CharacterHarness h;
  h.Feed(bits);
  // Sync returns with the first agreed character whose five newest characters all have weight
  // four: 'O' after an error in the first copy of 'W'; 'L' when the bad second copy of 'W' is
  // still among the five newest at the copies of 'O' and 'R'.
  const std::vector<ReceivedLine> expected = {
      {"HELLO ", true}, {inSecondCopy ? "LD" : "ORLD", false}, {"NEXT LINE", false}};
  EXPECT_EQ(h.sink.lines, expected);
}

INSTANTIATE_TEST_SUITE_P(EitherCopy, EnglishSingleBitError, testing::Bool());

TEST(EnglishDecoding, ChecksExactlyEveryFourteenBitsFromSync) {
  CharacterHarness h;
  ASSERT_EQ(h.FeedUntilSync(EnglishTransmission({}, 10)), PhasingSyncBit);
  EXPECT_EQ(h.decoder.PairBitCounter(), 0);
  // Zeros never agree with the phasing five positions back, so the first check fails.
  for (int i = 1; i <= 13; ++i) {
    h.decoder.TakeBit(0);
    ASSERT_TRUE(h.decoder.CharSync());
    ASSERT_EQ(h.decoder.PairBitCounter(), i);
  }
  h.decoder.TakeBit(0);
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_TRUE(h.sink.lines.empty());  // the line was empty
}

TEST(EnglishDecoding, InvertedPhasingWithAutoSetTogglesPolarityAndDecodes) {
  CharacterHarness h(true, false, true);
  const Bits bits = EnglishTransmission(EnglishCodes("ZCZC NA01\n"), Phasing, true);
  EXPECT_EQ(h.FeedUntilSync(bits), PhasingSyncBit);
  EXPECT_TRUE(h.decInv);
  h.Feed(Bits(bits.begin() + PhasingSyncBit + 1, bits.end()));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"ZCZC NA01", false}}));
  EXPECT_TRUE(h.decLang);
}

TEST(EnglishDecoding, InvertedPhasingWithoutAutoSetSyncsThenFailsTheNextCheck) {
  CharacterHarness h;
  const Bits bits = EnglishTransmission({}, 20, true);
  EXPECT_EQ(h.FeedUntilSync(bits), PhasingSyncBit);
  // The register was inverted, so the bits already in it read as phasing.
  EXPECT_EQ(h.decoder.Register().EnglishCode(0), 120);
  EXPECT_EQ(h.decoder.Register().EnglishCode(5), 51);
  EXPECT_FALSE(h.decInv);
  h.Feed(Bits(bits.begin() + PhasingSyncBit + 1, bits.begin() + PhasingSyncBit + 15));
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_TRUE(h.sink.lines.empty());
  EXPECT_FALSE(h.decInv);
}

TEST(EnglishDecoding, JapanesePhasingSwitchesToJapaneseOnlyInAutomaticMode) {
  for (bool inverted : {false, true}) {
    const Bits bits = test::JapaneseTransmission({}, 10, inverted);
    CharacterHarness automatic(true, false, true);
    automatic.Feed(bits);
    EXPECT_FALSE(automatic.decLang) << inverted;
    CharacterHarness manual(true, false, false);
    manual.Feed(bits);
    EXPECT_TRUE(manual.decLang) << inverted;
    EXPECT_FALSE(manual.decoder.CharSync()) << inverted;
  }
}

TEST(EnglishDecoding, AutomaticModeFollowsAJapaneseStationOfEitherPolarity) {
  for (bool inverted : {false, true}) {
    CharacterHarness h(true, false, true);
    h.Feed(test::JapaneseTransmission({35, 78, 10}, Phasing, inverted));
    EXPECT_FALSE(h.decLang);
    EXPECT_EQ(h.decInv, inverted);
    EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"\x82\x6D", false}})) << inverted;
  }
}

TEST(EnglishDecoding, NoiseWithAgreeingCopiesResetsIdleSecondsWhileSearching) {
  CharacterHarness h;
  h.indicators.LedCount = 5;
  h.indicators.IdleSeconds = 7;
  // The newest character equals the one 35 bits older, but has the wrong weight.
  h.Feed(Bits(35, 0));
  EXPECT_EQ(h.indicators.IdleSeconds, 0);
  EXPECT_FALSE(h.decoder.CharSync());
  EXPECT_EQ(h.indicators.LedCount, 5);
  EXPECT_FALSE(h.indicators.CharSeenThisSecond);
}

TEST(EnglishDecoding, SyncKeepsTheLampOnButOnlyAgreedCharactersResetIdleSeconds) {
  CharacterHarness h;
  const Bits phasing = EnglishTransmission({}, 20);
  ASSERT_EQ(h.FeedUntilSync(phasing), PhasingSyncBit);
  h.indicators.LedCount = 5;
  h.indicators.IdleSeconds = 7;
  h.Feed(Bits(phasing.begin() + PhasingSyncBit + 1, phasing.end()));
  EXPECT_TRUE(h.decoder.CharSync());
  EXPECT_EQ(h.indicators.LedCount, 0);
  EXPECT_TRUE(h.indicators.CharSeenThisSecond);
  EXPECT_EQ(h.indicators.IdleSeconds, 7);  // phasing never agrees with itself
  h.Feed(EnglishTransmission({113}, 3));
  EXPECT_EQ(h.indicators.IdleSeconds, 0);
  EXPECT_EQ(h.decoder.Line(), "A");
}

TEST(EnglishDecoding, CharSeenThisSecondIsSetOnlyWhileSyncHolds) {
  CharacterHarness h;
  const Bits bits = EnglishTransmission({}, 10);
  h.Feed(Bits(bits.begin(), bits.begin() + PhasingSyncBit));
  EXPECT_FALSE(h.indicators.CharSeenThisSecond);
  h.decoder.TakeBit(bits[PhasingSyncBit]);
  EXPECT_TRUE(h.indicators.CharSeenThisSecond);
}

}  // namespace
}  // namespace seaherald
