#include "app/QtText.h"

#include <gtest/gtest.h>

#include "WindowFixture.h"

namespace seaherald::test {
namespace {

TEST(QtText, JapaneseAndAsciiConvertBothWays) {
  const std::string sjis = Sjis("電文番号：GA01 ＺＣＺＣ～");
  EXPECT_EQ(ToQString(sjis), QStringLiteral("電文番号：GA01 ＺＣＺＣ～"));
  EXPECT_EQ(ToSjis(ToQString(sjis)), sjis);
}

TEST(QtText, SecondByteBackslashSurvives) {
  // "ソ" is 0x83 0x5C in Shift-JIS: its second byte is the backslash.
  const std::string sjis("\x83\x5C", 2);
  EXPECT_EQ(ToQString(sjis), QStringLiteral("ソ"));
  EXPECT_EQ(ToSjis(QStringLiteral("ソ")), sjis);
}

TEST(QtText, BrokenBytesShowAsReplacementsAndKeepTheRest) {
  // A text trimmed at its front can start with a trail byte; one cut at its end with a lead byte.
  std::string sjis = "\x5C";
  sjis.append(Sjis("あ")).append("AB").push_back('\x82');
  const QString shown = ToQString(sjis);
  EXPECT_TRUE(shown.contains(QStringLiteral("あAB")));
  EXPECT_GE(shown.size(), 4);
}

TEST(QtText, CharactersShiftJisCannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(ToSjis(QStringLiteral("A😀B")), "A?B");
}

}  // namespace
}  // namespace seaherald::test
