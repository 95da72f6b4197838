// A misread letters or figures shift in weak English text: the words printed from the wrong half
// of the table are printed again from the right one, and nothing else changes.
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

constexpr double Sure = 12.0;
constexpr double Unsure = 1.0;
constexpr int Space = 29;

int LetterCode(char letter) {
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (EnglishEntry(Shift::Letters, code) == std::string_view(&letter, 1)) return code;
  }
  ADD_FAILURE() << "no code for " << letter;
  return 0;
}

// Codes as the character decoder accepts them, through the repair and on to the code handler.
class Typing {
 public:
  Typing() : line_(sink_), codes_(line_), repair_(codes_, line_) {}

  void Code(int code, double margin = Sure) {
    repair_.Take(code, margin);
    codes_.HandleEnglishCode(code);
  }
  // Letters by the keys they are on, whatever the shift.
  void Keys(std::string_view keys, double margin = Sure) {
    for (const char key : keys)
      Code(key == ' ' ? Space : LetterCode(key), margin);
  }
  const std::string& Line() const { return line_.Text(); }
  const test::RecordingSink& Sink() const { return sink_; }

 private:
  test::RecordingSink sink_;
  DecodedLine line_;
  CodeHandler codes_;
  ShiftRepair repair_;
};

TEST(ShiftRepair, ANumberTypedAfterAMisreadFiguresShiftIsPrintedAsTheNumber) {
  Typing typing;
  typing.Keys("AT ");
  typing.Keys("J", Unsure);  // the figures shift, misread as a letter without a figure
  typing.Keys("QWI");
  typing.Code(LettersShiftCode);  // the shift back to letters after 128 shows it
  EXPECT_EQ(typing.Line(), "AT 128");
  EXPECT_EQ(typing.Sink().liveLines.back(), typing.Line()) << "the live line shows the repair";
}

TEST(ShiftRepair, WordsOfANumberAreRepairedBackToTheFirstWordThatIsNoNumber) {
  Typing typing;
  typing.Keys("LOW ");
  typing.Keys("T", Unsure);  // misread figures shift: a letter that has a figure (5) stays
  typing.Keys("OOY WT");
  typing.Code(LettersShiftCode);
  typing.Keys(" HPA");
  EXPECT_EQ(typing.Line(), "LOW 5996 25 HPA");
}

TEST(ShiftRepair, AWordTypedAfterAMisreadLettersShiftIsPrintedAsTheWord) {
  // The letters shift lost before AREA: a redundant figures shift shows it.
  Typing typing;
  typing.Code(FiguresShiftCode);
  typing.Keys("QW ");
  typing.Keys("AREA", Unsure);
  typing.Code(FiguresShiftCode);
  typing.Keys("E");
  EXPECT_EQ(typing.Line(), "12 AREA3");

  // A letter without a figure is certain proof: no unsure reading is needed.
  Typing certain;
  certain.Code(FiguresShiftCode);
  certain.Keys("PP AREAS");  // S has no figure
  EXPECT_EQ(certain.Line(), "00 AREAS");
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

  // Words that are no number stay letters however unsure; a line handed over is never changed.
  Typing words;
  words.Keys("THE", Unsure);
  words.Code(LettersShiftCode);
  words.Keys("TO", Unsure);
  words.Code(LineFeedCode);
  words.Code(LettersShiftCode);
  EXPECT_EQ(words.Line(), "");
  ASSERT_EQ(words.Sink().lines.size(), 1u);
  EXPECT_EQ(words.Sink().lines[0].text, "THETO");
}

}  // namespace
}  // namespace seaherald
