// A misread letters or figures shift in weak English text: the characters printed from the wrong
// half of the table after the place where the shift was lost are printed again from the right
// one, and nothing else changes.
#include "decoder/ShiftRepair.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "decoder/CodeHandler.h"
#include "decoder/CodeTables.h"
#include "decoder/DecodedLine.h"
#include "tests/decoder/RecordingSink.h"

namespace seaherald {
namespace {

constexpr ShiftDoubt Sure{12.0, 12.0, 12.0};
// Read without a clear lead, but no shift was close.
constexpr ShiftDoubt Unsure{1.0, 12.0, 12.0};
// Read without a clear lead with a shift nearly as likely: where a shift may have been lost.
constexpr ShiftDoubt MaybeShift{1.0, 1.0, 1.0};
constexpr int Space = 29;

int CodeOf(Shift shift, char character) {
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (EnglishEntry(shift, code) == std::string_view(&character, 1)) return code;
  }
  ADD_FAILURE() << "no code for " << character;
  return 0;
}

// Codes as the character decoder accepts them, through the repair and on to the code handler.
class Typing {
 public:
  Typing() : line_(sink_), codes_(line_), repair_(codes_, line_) {}

  void Code(int code, const ShiftDoubt& doubt = Sure) {
    repair_.Take(code, doubt);
    codes_.HandleEnglishCode(code);
  }
  // Characters by the keys they are on, whatever the shift.
  void Keys(std::string_view keys, const ShiftDoubt& doubt = Sure) {
    for (const char key : keys)
      Code(key == ' ' ? Space : CodeOf(Shift::Letters, key), doubt);
  }
  // Figures by what they print in figures shift.
  void Figures(std::string_view figures) {
    for (const char figure : figures)
      Code(CodeOf(Shift::Figures, figure));
  }
  const std::string& Line() const { return line_.Text(); }
  const test::RecordingSink& Sink() const { return sink_; }

 private:
  test::RecordingSink sink_;
  DecodedLine line_;
  CodeHandler codes_;
  ShiftRepair repair_;
};

TEST(ShiftRepair, AFiguresShiftReadAsALetterIsDroppedAndTheNumberAfterItReprinted) {
  Typing typing;
  typing.Keys("AT ");
  typing.Keys("J", MaybeShift);  // the figures shift
  typing.Keys("QWI");
  typing.Code(LettersShiftCode);  // the shift back to letters after 128 shows it
  EXPECT_EQ(typing.Line(), "AT 128");
  EXPECT_EQ(typing.Sink().liveLines.back(), typing.Line()) << "the live line shows the repair";

  // Across spaces, up to the place of the lost shift and no further.
  Typing words;
  words.Keys("LOW ");
  words.Keys("K", MaybeShift);
  words.Keys("TOOY WT");
  words.Code(LettersShiftCode);
  words.Keys(" HPA");
  EXPECT_EQ(words.Line(), "LOW 5996 25 HPA");
}

TEST(ShiftRepair, ALettersShiftReadAsAFigureIsDroppedAndTheWordsAfterItReprinted) {
  // A redundant figures shift shows the loss.
  Typing typing;
  typing.Code(FiguresShiftCode);
  typing.Keys("QW ");
  typing.Keys("K", MaybeShift);
  typing.Keys("AREA");
  typing.Code(FiguresShiftCode);
  typing.Keys("E");
  EXPECT_EQ(typing.Line(), "12 AREA3");

  // So does a letter without a figure.
  Typing letter;
  letter.Code(FiguresShiftCode);
  letter.Keys("PP ");
  letter.Keys("K", MaybeShift);
  letter.Keys("AREAS");
  EXPECT_EQ(letter.Line(), "00 AREAS");

  // Within a word: only the misread shift goes, the figures before it stay.
  Typing within;
  within.Code(FiguresShiftCode);
  within.Figures("(3");
  within.Keys("Q", MaybeShift);  // the letters shift before FRT
  within.Keys("FRT");
  within.Code(FiguresShiftCode);
  within.Figures("4)");
  EXPECT_EQ(within.Line(), "(3FRT4)");
}

TEST(ShiftRepair, WordsReadWithConfidenceAreNeverRewritten) {
  // One unsure reading where no shift was close: a later redundant shift changes nothing, though
  // the words before it read as figures would look like numbers.
  Typing typing;
  typing.Keys("LIGHT ON TOW");
  typing.Keys("E", Unsure);
  typing.Keys("R AT PIER ");
  typing.Code(LettersShiftCode);
  EXPECT_EQ(typing.Line(), "LIGHT ON TOWER AT PIER ");

  // A lost letters shift with no place to have been lost: the letter is printed, nothing before
  // it is touched.
  Typing certain;
  certain.Code(FiguresShiftCode);
  certain.Figures("(3");
  certain.Keys("FRT");
  EXPECT_EQ(certain.Line(), "(3FRT");

  // A place where the shift may have been lost, but what follows does not read the other way.
  Typing words;
  words.Keys("THE", MaybeShift);
  words.Keys(" SEA ");
  words.Code(LettersShiftCode);
  EXPECT_EQ(words.Line(), "THE SEA ");
}

TEST(ShiftRepair, AShiftReadInPlaceOfACharacterReprintsTheWholeRun) {
  Typing typing;
  typing.Keys("BY ");
  typing.Code(FiguresShiftCode, Unsure);  // a letter misread as the figures shift
  typing.Keys("AREA ");
  typing.Keys("S");  // no figure
  EXPECT_EQ(typing.Line(), "BY AREA S");
}

TEST(ShiftRepair, CleanTextAndLineEndsAreLeftAlone) {
  // Sure readings: a station that sends a redundant shift is printed as it sent.
  Typing clean;
  clean.Keys("QWERTY");
  clean.Code(LettersShiftCode);
  clean.Code(FiguresShiftCode);
  clean.Keys("R");
  clean.Code(FiguresShiftCode);
  EXPECT_EQ(clean.Line(), "QWERTY4");

  // A line handed over is never changed.
  Typing words;
  words.Keys("QW", MaybeShift);
  words.Code(LineFeedCode);
  words.Code(LettersShiftCode);
  EXPECT_EQ(words.Line(), "");
  ASSERT_EQ(words.Sink().lines.size(), 1u);
  EXPECT_EQ(words.Sink().lines[0].text, "QW");
}

}  // namespace
}  // namespace seaherald
