#include <gtest/gtest.h>

#include <string>

#include "platform/ProfileFile.h"

namespace seaherald {
namespace {

using namespace std::string_literals;

// Shift-JIS characters whose second byte looks like ASCII: ']' (0x5D), 'a' (0x61), 'A' (0x41).
constexpr std::string_view SjisZo = "\x83\x5D";     // ゾ
constexpr std::string_view SjisDi = "\x83\x61";     // ヂ
constexpr std::string_view SjisA = "\x83\x41";      // ア
constexpr std::string_view SjisHiraA = "\x82\xA0";  // あ
constexpr std::string_view SjisGothic = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

std::string Value(const ProfileDocument& document, std::string_view section, std::string_view key) {
  return document.Get(section, key).value_or("<missing>");
}

TEST(ProfileDocumentRead, FindsKeysInCrlfLfAndCrFiles) {
  for (std::string_view end : {"\r\n", "\n", "\r"}) {
    std::string bytes = "[Form]" + std::string(end) + "MainTop=12" + std::string(end) + "[Set]" +
                        std::string(end) + "TimeOut=45" + std::string(end);
    const ProfileDocument document(bytes);
    EXPECT_EQ(Value(document, "Form", "MainTop"), "12");
    EXPECT_EQ(Value(document, "Set", "TimeOut"), "45");
    EXPECT_EQ(document.Bytes(), bytes) << "line ends must survive a parse";
  }
}

TEST(ProfileDocumentRead, LastLineWithoutLineEnd) {
  const ProfileDocument document("[Set]\r\nTimeOut=45");
  EXPECT_EQ(Value(document, "Set", "TimeOut"), "45");
  EXPECT_EQ(document.Bytes(), "[Set]\r\nTimeOut=45");
}

TEST(ProfileDocumentRead, NamesIgnoreAsciiLetterCase) {
  const ProfileDocument document("[sEt]\nPANELHEIGHT=200\npanelwidth=300\n");
  EXPECT_EQ(Value(document, "Set", "PanelHeight"), "200");
  EXPECT_EQ(Value(document, "SET", "PanelWidth"), "300");
}

TEST(ProfileDocumentRead, TrailBytesAreNeitherFoldedNorTakenForBrackets) {
  std::string bytes = "[";
  bytes += SjisZo;
  bytes += "]\n";
  bytes += SjisDi;
  bytes += "=1\n";
  const ProfileDocument document(bytes);
  EXPECT_EQ(Value(document, SjisZo, SjisDi), "1");
  EXPECT_FALSE(document.Get(SjisZo, SjisA).has_value()) << "0x61 and 0x41 trail bytes differ";
}

TEST(ProfileDocumentRead, BlanksAroundNamesAndValuesAreIgnored) {
  const ProfileDocument document("  [ Wave ]  \n\t CentF \t=\t 90 \t\n");
  EXPECT_EQ(Value(document, "Wave", "CentF"), "90");
}

TEST(ProfileDocumentRead, OneSurroundingPairOfMatchingQuotesIsRemoved) {
  const ProfileDocument document("[W]\na=\"x y\"\nb='z'\nc=\"mixed'\nd=\"\"\"\ne=\"\nf=''''\n");
  EXPECT_EQ(Value(document, "W", "a"), "x y");
  EXPECT_EQ(Value(document, "W", "b"), "z");
  EXPECT_EQ(Value(document, "W", "c"), "\"mixed'");
  EXPECT_EQ(Value(document, "W", "d"), "\"");
  EXPECT_EQ(Value(document, "W", "e"), "\"");
  EXPECT_EQ(Value(document, "W", "f"), "''");
}

TEST(ProfileDocumentRead, ShiftJisValuesComeBackByteForByte) {
  const std::string value = std::string(SjisGothic) + "\\" + "\x83\x5C";  // ends in a 0x5C trail
  const ProfileDocument document("[Set]\r\nFontName=" + value + "\r\n");
  EXPECT_EQ(Value(document, "Set", "FontName"), value);
}

TEST(ProfileDocumentRead, MissingSectionOrKeyGivesNothing) {
  const ProfileDocument document("[Form]\nMainTop=1\n");
  EXPECT_FALSE(document.Get("Set", "MainTop").has_value());
  EXPECT_FALSE(document.Get("Form", "MainLeft").has_value());
  EXPECT_FALSE(ProfileDocument().Get("Form", "MainTop").has_value());
}

TEST(ProfileDocumentRead, KeysOutsideTheirSectionDoNotCount) {
  const ProfileDocument document("TimeOut=1\n[Form]\nTimeOut=2\n[Set]\nErrNum=3\n");
  EXPECT_FALSE(document.Get("Set", "TimeOut").has_value());
  EXPECT_EQ(Value(document, "Form", "TimeOut"), "2");
}

TEST(ProfileDocumentRead, FirstOfDuplicateKeysWinsAcrossRepeatedSections) {
  const ProfileDocument document("[Set]\nA=1\nA=2\n[Form]\nB=0\n[set]\nA=3\nB=4\n");
  EXPECT_EQ(Value(document, "Set", "A"), "1");
  EXPECT_EQ(Value(document, "Set", "B"), "4") << "a later copy of the section still counts";
}

TEST(ProfileDocumentRead, GarbageAndBinaryLinesAreSkipped) {
  std::string bytes = "\x01\x02\xFF\xFE garbage\n[Set\nnot a key\n=orphan value\n";
  bytes += "\0\0\0"s + "\n[Set]\n\x7F\x80\x81\n;TimeOut=5\nTimeOut=7\n";
  bytes += "[broken=1\nErrNum=8\n";
  const ProfileDocument document(bytes);
  EXPECT_EQ(Value(document, "Set", "TimeOut"), "7");
  EXPECT_EQ(Value(document, "Set", "ErrNum"), "8") << "'[broken=1' starts no section";
  EXPECT_EQ(document.Bytes(), bytes);
}

TEST(ProfileDocumentRead, ValueEndsAtNulByte) {
  const ProfileDocument document("[S]\nk=abc\0def\n"s);
  EXPECT_EQ(Value(document, "S", "k"), "abc");
}

TEST(ProfileDocumentRead, Utf8ByteOrderMarkBeforeFirstSection) {
  const ProfileDocument document("\xEF\xBB\xBF[Form]\nMainTop=3\n");
  EXPECT_EQ(Value(document, "Form", "MainTop"), "3");
}

TEST(ProfileDocumentRead, LongValuesAreCutAt2047BytesNeverInsideACharacter) {
  const std::string ascii(5000, 'x');
  const std::string splitChar = std::string(2046, 'y') + std::string(SjisHiraA) + "zz";
  const std::string fits = std::string(2045, 'w') + std::string(SjisHiraA) + "zz";
  const ProfileDocument document("[S]\na=" + ascii + "\nb=" + splitChar + "\nc=" + fits + "\n");
  EXPECT_EQ(Value(document, "S", "a"), ascii.substr(0, 2047));
  EXPECT_EQ(Value(document, "S", "b"), splitChar.substr(0, 2046));
  EXPECT_EQ(Value(document, "S", "c"), fits.substr(0, 2047));
}

TEST(ProfileDocumentRead, HugeValueDoesNotDisturbOtherKeys) {
  const std::string huge(4 * 1024 * 1024, '9');
  const ProfileDocument document("[Set]\nTimeOut=" + huge + "\nErrNum=4\n");
  EXPECT_EQ(Value(document, "Set", "TimeOut").size(), ProfileValueLimit);
  EXPECT_EQ(Value(document, "Set", "ErrNum"), "4");
}

TEST(ProfileDocumentWrite, UpdatesInPlaceKeepingEveryOtherByte) {
  const std::string before =
      "; settings\r\n[Form]\r\nmaintop = 5 \r\nExtra=keep\r\n\r\n[Other]\r\nX=\x83\x5C\r\n";
  ProfileDocument document(before);
  ASSERT_TRUE(document.Set("Form", "MainTop", "-20"));
  EXPECT_EQ(document.Bytes(),
            "; settings\r\n[Form]\r\nmaintop = -20\r\nExtra=keep\r\n\r\n[Other]\r\nX=\x83\x5C\r\n");
}

TEST(ProfileDocumentWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
  ProfileDocument document("[Form]\nA=1\n; about Set\n\n[Set]\nB=2\n");
  ASSERT_TRUE(document.Set("form", "C", "3"));
  EXPECT_EQ(document.Bytes(), "[Form]\nA=1\nC=3\n; about Set\n\n[Set]\nB=2\n");
}

TEST(ProfileDocumentWrite, NewKeyInAnEmptySectionFollowsItsHeader) {
  ProfileDocument document("[Form]\n\n[Set]\nB=2\n");
  ASSERT_TRUE(document.Set("Form", "A", "1"));
  EXPECT_EQ(document.Bytes(), "[Form]\nA=1\n\n[Set]\nB=2\n");
}

TEST(ProfileDocumentWrite, NewSectionGoesAtTheEndAfterABlankLine) {
  ProfileDocument crlf("[Form]\r\nA=1\r\n");
  ASSERT_TRUE(crlf.Set("Set", "B", "2"));
  EXPECT_EQ(crlf.Bytes(), "[Form]\r\nA=1\r\n\r\n[Set]\r\nB=2\r\n");

  ProfileDocument lf("[Form]\nA=1\n\n");
  ASSERT_TRUE(lf.Set("Set", "B", "2"));
  EXPECT_EQ(lf.Bytes(), "[Form]\nA=1\n\n[Set]\nB=2\n") << "no second blank line";
}

TEST(ProfileDocumentWrite, MissingFinalLineEndIsAddedBeforeAppending) {
  ProfileDocument sameSection("[Set]\nA=1");
  ASSERT_TRUE(sameSection.Set("Set", "B", "2"));
  EXPECT_EQ(sameSection.Bytes(), "[Set]\nA=1\nB=2\n");

  ProfileDocument newSection("[Set]\r\nA=1");
  ASSERT_TRUE(newSection.Set("Form", "B", "2"));
  EXPECT_EQ(newSection.Bytes(), "[Set]\r\nA=1\r\n\r\n[Form]\r\nB=2\r\n");

  ProfileDocument updated("[Set]\nA=1");
  ASSERT_TRUE(updated.Set("Set", "A", "9"));
  EXPECT_EQ(updated.Bytes(), "[Set]\nA=9") << "an update in place adds nothing";
}

TEST(ProfileDocumentWrite, EmptyDocumentStartsWithCrlf) {
  ProfileDocument document;
  ASSERT_TRUE(document.Set("Form", "A", "1"));
  ASSERT_TRUE(document.Set("Form", "B", "2"));
  ASSERT_TRUE(document.Set("Wave", "C", ""));
  EXPECT_EQ(document.Bytes(), "[Form]\r\nA=1\r\nB=2\r\n\r\n[Wave]\r\nC=\r\n");
}

TEST(ProfileDocumentWrite, DuplicateKeysUpdateTheOneThatIsRead) {
  ProfileDocument document("[Set]\nA=1\n[Set]\nA=2\n");
  ASSERT_TRUE(document.Set("Set", "A", "5"));
  EXPECT_EQ(document.Bytes(), "[Set]\nA=5\n[Set]\nA=2\n");
  EXPECT_EQ(Value(document, "Set", "A"), "5");
}

TEST(ProfileDocumentWrite, WrittenValuesReadBack) {
  ProfileDocument document("garbage\n[Set]\n");
  const std::string sjis = std::string(SjisGothic) + "\x83\x5C";
  ASSERT_TRUE(document.Set("Set", "FontName", sjis));
  ASSERT_TRUE(document.Set("Wave", "WaveInName", "Line In (USB)"));
  const ProfileDocument reread(document.Bytes());
  EXPECT_EQ(Value(reread, "Set", "FontName"), sjis);
  EXPECT_EQ(Value(reread, "Wave", "WaveInName"), "Line In (USB)");
}

TEST(ProfileDocumentWrite, RefusesTextThatCannotStandInOneLine) {
  const std::string before = "[Set]\nA=1\n";
  ProfileDocument document(before);
  EXPECT_FALSE(document.Set("Set", "A", "two\nlines"));
  EXPECT_FALSE(document.Set("Set", "A", "cr\r"));
  EXPECT_FALSE(document.Set("Set", "A", "n\0l"s));
  EXPECT_FALSE(document.Set("Set", "A=B", "1"));
  EXPECT_FALSE(document.Set("Set", "[A", "1"));
  EXPECT_FALSE(document.Set("Set", "", "1"));
  EXPECT_FALSE(document.Set("Set", " A", "1"));
  EXPECT_FALSE(document.Set("Se]t", "A", "1"));
  EXPECT_FALSE(document.Set("", "A", "1"));
  EXPECT_EQ(document.Bytes(), before);
  EXPECT_TRUE(document.Set(SjisZo, SjisDi, "ok")) << "a 0x5D trail byte is no bracket";
}

}  // namespace
}  // namespace seaherald
