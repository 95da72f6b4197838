// Bit errors and broken-off broadcasts: cut lines, lost sync, and the ways sync comes back.
#include <gtest/gtest.h>

#include <vector>

#include "tests/roundtrip/Messages.h"
#include "tests/roundtrip/Receiver.h"
#include "tests/support/JapaneseCode.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"

namespace seaherald::roundtrip {
namespace {

using testsignal::BitError;
using testsignal::Copy;
using testsignal::Transmission;
using testsignal::Utf8ToShiftJis;

Transmission EnglishWithError(Copy copy, int bit = 0) {
  Transmission transmission = EnglishBroadcast();
  transmission.bitErrors = {{OffsetOf(transmission, "BROWN"), copy, bit}};
  return transmission;
}

// An English character is taken only when both of its copies agree, and sync comes back from the
// data once five characters of weight four in a row end in an agreeing pair: after a damaged DX
// copy that is the very next character, after a damaged RX copy (still among the five) the third.
TEST(EnglishBitErrors, DamagedDxCopyCutsTheLineAndTheNextCharacterResyncs) {
  for (const int bit : {0, 3, 6}) {
    EXPECT_EQ(DecodeAudio(AudioOf(EnglishWithError(Copy::Dx, bit)), {.english = true}),
              (std::vector<ReceivedLine>{{"ZCZC GA12", false},
                                         {"QUICK ", true},
                                         {"ROWN FOX 1234", false},
                                         {"JUMPS OVER THE LAZY DOG.", false},
                                         {"NNNN", false}}))
        << "bit " << bit;
  }
}

TEST(EnglishBitErrors, DamagedRxCopyCutsTheLineAndLosesThreeCharacters) {
  for (const int bit : {0, 4}) {
    EXPECT_EQ(DecodeAudio(AudioOf(EnglishWithError(Copy::Rx, bit)), {.english = true}),
              (std::vector<ReceivedLine>{{"ZCZC GA12", false},
                                         {"QUICK ", true},
                                         {"WN FOX 1234", false},
                                         {"JUMPS OVER THE LAZY DOG.", false},
                                         {"NNNN", false}}))
        << "bit " << bit;
  }
}

TEST(EnglishBitErrors, BothCopiesAlikeGiveAWrongWeightAndAnUncutLine) {
  // The copies agree, so the line is not cut; the character's weight is wrong, so sync is lost.
  EXPECT_EQ(DecodeAudio(AudioOf(EnglishWithError(Copy::Both)), {.english = true}),
            (std::vector<ReceivedLine>{{"ZCZC GA12", false},
                                       {"QUICK ", false},
                                       {"WN FOX 1234", false},
                                       {"JUMPS OVER THE LAZY DOG.", false},
                                       {"NNNN", false}}));
}

TEST(EnglishBitErrors, ErrorsOnSeveralLinesCutEachOne) {
  Transmission transmission = EnglishBroadcast();
  transmission.bitErrors = {{OffsetOf(transmission, "GA12"), Copy::Rx, 2},
                            {OffsetOf(transmission, "OVER"), Copy::Dx, 5}};
  // The damaged RX copy of G also costs A and the figures shift, so the digits after the gap
  // arrive in letters shift: 1 and 2 share their codes with Q and W.
  EXPECT_EQ(DecodeAudio(AudioOf(transmission), {.english = true}),
            (std::vector<ReceivedLine>{{"ZCZC ", true},
                                       {"QW", false},
                                       {"QUICK BROWN FOX 1234", false},
                                       {"JUMPS ", true},
                                       {"VER THE LAZY DOG.", false},
                                       {"NNNN", false}}));
}

TEST(EnglishBitErrors, DamagedCodeInFiguresShiftComesBackInTheSameShift) {
  // The shift survives the loss of sync, so the digits after the gap still read as figures.
  Transmission transmission = EnglishBroadcast();
  transmission.bitErrors = {{OffsetOf(transmission, "234"), Copy::Dx, 1}};
  EXPECT_EQ(DecodeAudio(AudioOf(transmission), {.english = true}),
            (std::vector<ReceivedLine>{{"ZCZC GA12", false},
                                       {"QUICK BROWN FOX 1", true},
                                       {"34", false},
                                       {"JUMPS OVER THE LAZY DOG.", false},
                                       {"NNNN", false}}));
}

Transmission JapaneseWithError(const char* characterUtf8, int half, Copy copy, int bit = 0) {
  Transmission transmission = JapaneseBroadcast();
  const std::size_t offset = OffsetOf(transmission, Utf8ToShiftJis(characterUtf8));
  transmission.bitErrors = {{offset + static_cast<std::size_t>(half), copy, bit}};
  return transmission;
}

std::vector<ReceivedLine> JapaneseLinesCutAtKei() {
  return {JapaneseLine("ＺＣＺＣ　ＧＡ１２３"), JapaneseLine("航行", true),
          JapaneseLine("報　第１２３号"), JapaneseLine("日本海西部　北緯３８度"),
          JapaneseLine("ＮＮＮＮ")};
}

// A Japanese character syncs by itself when its two copies agree and its zero count is right, so
// a damaged second half of a pair costs just that pair, whichever copy or bit is hit.
TEST(JapaneseBitErrors, DamagedSecondHalfCostsOnlyItsPair) {
  for (const Copy copy : {Copy::Dx, Copy::Rx, Copy::Both}) {
    for (const int bit : {0, 8}) {  // a data bit and a check bit
      EXPECT_EQ(DecodeAudio(AudioOf(JapaneseWithError("警", 1, copy, bit)), {}),
                JapaneseLinesCutAtKei())
          << "copy " << static_cast<int>(copy) << " bit " << bit;
    }
  }
}

// The receiver's JIS X 0208 to Shift-JIS arithmetic for any pair of 7-bit values.
std::string ReceiverShiftJis(int j1, int j2) {
  int s1 = j1 % 2 == 1 ? (j1 + 1) / 2 + 112 : j1 / 2 + 112;
  int s2 = j1 % 2 == 1 ? j2 + 31 : j2 + 125;
  if (s1 >= 160) s1 += 64;
  if (s2 >= 127) s2 += 1;
  return {static_cast<char>(s1), static_cast<char>(s2)};
}

TEST(JapaneseBitErrors, DamagedFirstHalfMisalignsPairsUntilTheLineEnds) {
  // Sync returns on the second half of the damaged pair, which the receiver takes for a first
  // half: the rest of the line pairs the wrong values, and the carriage return drops the value
  // left over and re-aligns the pairs.
  const std::string rest = Utf8ToShiftJis("警報　第１２３号");
  std::vector<int> values;
  for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
    const auto pair = testsignal::ShiftJisToJis(static_cast<std::uint8_t>(rest[i]),
                                                static_cast<std::uint8_t>(rest[i + 1]));
    values.push_back(pair.first);
    values.push_back(pair.second);
  }
  std::string misaligned;
  for (std::size_t i = 1; i + 1 < values.size(); i += 2) {
    misaligned += ReceiverShiftJis(values[i], values[i + 1]);
  }
  EXPECT_EQ(DecodeAudio(AudioOf(JapaneseWithError("警", 0, Copy::Dx)), {}),
            (std::vector<ReceivedLine>{JapaneseLine("ＺＣＺＣ　ＧＡ１２３"),
                                       JapaneseLine("航行", true),
                                       {misaligned, false},
                                       JapaneseLine("日本海西部　北緯３８度"),
                                       JapaneseLine("ＮＮＮＮ")}));
}

// Broadcast 1 breaks off in mid-line; broadcast 2 follows at once with its phasing. The receiver
// cuts the unfinished line when the repeats stop matching, then syncs on the phasing before any
// text of the second broadcast arrives.
struct BrokenOffCase {
  Transmission first;
  Transmission second;
  std::vector<ReceivedLine> expected;
};

testsignal::SignalOptions NoTrailingSilence() {
  testsignal::SignalOptions options;
  options.trailingSilenceSeconds = 0;
  return options;
}

void ExpectResyncFromPhasing(const BrokenOffCase& c, const ReceiverSetup& setup) {
  const std::vector<Transmission> both{c.first, c.second};
  const auto audio = AudioOf(both);
  // Where the second broadcast's text starts: the same signal without that text.
  Transmission phasingOnly = c.second;
  phasingOnly.text.clear();
  phasingOnly.trailingPhasingSeconds = 0;
  const std::vector<Transmission> prefix{c.first, phasingOnly};
  const std::size_t textStart = AudioOf(prefix, NoTrailingSilence()).size();
  const std::size_t blocksBeforeText = (textStart - 22050) / BlockFrames;

  Receiver receiver(setup);
  const std::span<const std::int16_t> all(audio);
  receiver.Feed(all.first(blocksBeforeText * BlockFrames));
  EXPECT_TRUE(receiver.decoder().CharSync(0)) << "no sync from phasing";
  EXPECT_EQ(receiver.Lines().size(), c.expected.size() - LinesOf(c.second).size());
  receiver.Feed(all.subspan(blocksBeforeText * BlockFrames));
  EXPECT_EQ(receiver.Lines(), c.expected);
}

TEST(LostSync, EnglishResyncsFromPhasingAfterABrokenOffBroadcast) {
  BrokenOffCase c;
  c.first = EnglishBroadcast("ZCZC GA12\r\nFIRST PART OF TEXT\r\n");
  c.first.stopAtTextOffset = OffsetOf(c.first, "OF");
  c.second = EnglishBroadcast("ZCZC GA13\r\nSECOND\r\nNNNN\r\n");
  // The last two characters sent before the break never got their repeat.
  c.expected = {{"ZCZC GA12", false}, {"FIRST PAR", true}};
  for (const ReceivedLine& line : LinesOf(c.second))
    c.expected.push_back(line);
  ExpectResyncFromPhasing(c, {.english = true});
}

TEST(LostSync, JapaneseResyncsFromPhasingAfterABrokenOffBroadcast) {
  BrokenOffCase c;
  c.first = JapaneseBroadcast("ＺＣＺＣ　ＧＡ１２３\r\n航行警報　第１２３号\r\n");
  c.first.stopAtTextOffset = OffsetOf(c.first, Utf8ToShiftJis("第"));
  c.second = JapaneseBroadcast("ＺＣＺＣ　ＧＡ１２４\r\n第二報\r\nＮＮＮＮ\r\n");
  c.expected = {JapaneseLine("ＺＣＺＣ　ＧＡ１２３"), JapaneseLine("航行警報", true)};
  for (const ReceivedLine& line : LinesOf(c.second))
    c.expected.push_back(line);
  ExpectResyncFromPhasing(c, {.english = false});
}

TEST(LostSync, SilenceInMidLineCutsItAndTheNextBroadcastDecodes) {
  Transmission first = EnglishBroadcast("ZCZC GA12\r\nFADING OUT\r\n");
  first.stopAtTextOffset = OffsetOf(first, "OUT");
  Transmission second = EnglishBroadcast("ZCZC GA14\r\nBACK AGAIN\r\nNNNN\r\n");
  second.silenceBeforeSeconds = 3.0;
  const std::vector<Transmission> both{first, second};
  std::vector<ReceivedLine> expected{{"ZCZC GA12", false}, {"FADIN", true}};
  for (const ReceivedLine& line : LinesOf(second))
    expected.push_back(line);
  EXPECT_EQ(DecodeAudio(AudioOf(both), {.english = true}), expected);
}

}  // namespace
}  // namespace seaherald::roundtrip
