#include "msglog/MessageHeader.h"

#include <gtest/gtest.h>

#include "MsglogFakes.h"

namespace seaherald {
namespace {

using testing::Sjis;

TEST(MarkerSearch, FindsNothingInAnOrdinaryLine) {
  EXPECT_EQ(FindMarker("NAVAREA XI 123/24").marker, Marker::kNone);
  EXPECT_EQ(FindMarker("").marker, Marker::kNone);
  EXPECT_EQ(FindMarker("ZCZC").marker, Marker::kNone);  // no space: not a start marker
  EXPECT_EQ(FindMarker("NNN").marker, Marker::kNone);
}

TEST(MarkerSearch, ReportsTheOneBasedPositionOfTheFirstOccurrence) {
  const MarkerMatch match = FindMarker("abcZCZC GA12 ZCZC ");
  EXPECT_EQ(match.marker, Marker::kStartSingle);
  EXPECT_EQ(match.position, 4u);
  EXPECT_TRUE(match.IsStart());
  std::string line = "x";
  line += Sjis("ＺＣＺＣ　ＧＡ１２３");
  const MarkerMatch full = FindMarker(line);
  EXPECT_EQ(full.marker, Marker::kStartFull);
  EXPECT_EQ(full.position, 2u);
}

TEST(MarkerSearch, LaterMarkersInTableOrderWin) {
  EXPECT_EQ(FindMarker("ZCZC GA12 NNNN").marker, Marker::kEndSingle);
  EXPECT_EQ(FindMarker("NNNN ZCZC GA12").marker, Marker::kEndSingle);
  EXPECT_EQ(FindMarker(std::string("ZCZC ") + Sjis("ＺＣＺＣ　")).marker, Marker::kStartFull);
  EXPECT_EQ(FindMarker(Sjis("ＮＮＮＮ") + "NNNN").marker, Marker::kEndFull);
  const MarkerMatch end = FindMarker(Sjis("ＺＣＺＣ　ＮＮＮＮ"));
  EXPECT_EQ(end.marker, Marker::kEndFull);
  EXPECT_EQ(end.position, 11u);
  EXPECT_TRUE(end.IsEnd());
}

TEST(MarkerSearch, MarkersAreTheExpectedShiftJisBytes) {
  EXPECT_EQ(MarkerBytes(Marker::kStartFull), Sjis("ＺＣＺＣ　"));
  EXPECT_EQ(MarkerBytes(Marker::kEndFull), Sjis("ＮＮＮＮ"));
  EXPECT_EQ(MarkerBytes(Marker::kStartSingle), "ZCZC ");
  EXPECT_EQ(MarkerBytes(Marker::kEndSingle), "NNNN");
}

TEST(MarkerSearch, CopesWithNulAndLoneLeadBytes) {
  const std::string line = std::string("\0\x82ZCZC GA12", 11);
  const MarkerMatch match = FindMarker(line);
  EXPECT_EQ(match.marker, Marker::kStartSingle);
  EXPECT_EQ(match.position, 3u);
  EXPECT_EQ(FindMarker(std::string("\x82\0\xff", 3)).marker, Marker::kNone);
}

TEST(EnglishHeader, AcceptsTwoLettersAndTwoDigitsOnly) {
  EXPECT_TRUE(IsValidEnglishHeader("GA12"));
  EXPECT_TRUE(IsValidEnglishHeader("ZZ00"));
  EXPECT_FALSE(IsValidEnglishHeader("GA12 "));  // trailing space
  EXPECT_FALSE(IsValidEnglishHeader("GA1"));
  EXPECT_FALSE(IsValidEnglishHeader("G-12"));
  EXPECT_FALSE(IsValidEnglishHeader("1A12"));
  EXPECT_FALSE(IsValidEnglishHeader("ga12"));
  EXPECT_FALSE(IsValidEnglishHeader("GAA2"));
  EXPECT_FALSE(IsValidEnglishHeader("GA1A"));
  EXPECT_FALSE(IsValidEnglishHeader(std::string("GA1\0", 4)));
}

TEST(JapaneseHeader, AcceptsTheBroadcastAndTheThreeLetterForms) {
  EXPECT_TRUE(IsValidJapaneseHeader(Sjis("ＧＡ１２３")));  // two letters, three-digit serial
  EXPECT_TRUE(IsValidJapaneseHeader(Sjis("ＧＡＢ１２")));  // three letters, two digits
  EXPECT_TRUE(IsValidJapaneseHeader(Sjis("ＸＺＡＢＣ")));
  EXPECT_TRUE(IsValidJapaneseHeader(Sjis("ＡＡ０９Ｚ")));
}

TEST(JapaneseHeader, RejectsEverythingElse) {
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("Ｇ１２３４")));    // B2 a digit
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("１Ａ２３４")));    // B1 a digit
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ＧＡ１２")));      // four characters
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ＧＡ１２３４")));  // six characters
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ＧＡ１２３ ")));   // trailing space
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ＧＡア１２")));    // kana
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ｇＡ１２３")));    // full-width lower case
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ＧＡ　１２")));    // full-width space
  EXPECT_FALSE(IsValidJapaneseHeader("GA123GA123"));          // single-byte, ten bytes
  EXPECT_FALSE(IsValidJapaneseHeader(Sjis("ＧＡ１２") + "3\x82"));
  EXPECT_FALSE(IsValidJapaneseHeader(std::string(10, '\0')));
}

TEST(StartLine, HeaderFollowsTheMarkerByTheOffsetOfTheDecodingLanguage) {
  EXPECT_EQ(HeaderOfStartLine("ZCZC GA12", 1, true), "GA12");
  EXPECT_EQ(HeaderOfStartLine("xyzZCZC KB99", 4, true), "KB99");
  EXPECT_FALSE(HeaderOfStartLine("ZCZC ", 1, true));
  EXPECT_FALSE(HeaderOfStartLine("ZCZC GA12", 1, false));
  const std::string japanese = Sjis("ＺＣＺＣ　ＧＡ１２３");
  EXPECT_EQ(HeaderOfStartLine(japanese, 1, false), Sjis("ＧＡ１２３"));
  // English decoding takes the header five bytes after a full-width marker: it never passes.
  EXPECT_FALSE(HeaderOfStartLine(Sjis("ＺＣＺＣ　") + "GA12", 1, true));
}

}  // namespace
}  // namespace seaherald
