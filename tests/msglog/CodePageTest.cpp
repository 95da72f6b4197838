#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace seaherald {
namespace {

TEST(CodePage, ConvertsJapaneseTextToKnownShiftJisBytes) {
  const CodePageConverter converter;
  EXPECT_EQ(converter.Cp932FromUtf8("那覇"), std::string("\x93\xdf\x94\x65"));
  EXPECT_EQ(converter.Cp932FromUtf8("ＧＡ１２３"),
            std::string("\x82\x66\x82\x60\x82\x50\x82\x51\x82\x52"));
  EXPECT_EQ(converter.Cp932FromUtf8("　"), std::string("\x81\x40"));
  // Code page 932's own mappings, which plain Shift_JIS converters lack or map elsewhere.
  EXPECT_EQ(converter.Cp932FromUtf8("～"), std::string("\x81\x60"));
  EXPECT_EQ(converter.Cp932FromUtf8("－"), std::string("\x81\x7c"));
}

TEST(CodePage, RoundTripsTextWhoseSecondByteIsABackslash) {
  const CodePageConverter converter;
  const std::string sjis = "\x83\x5c\x83\x5c";  // ソソ
  const std::optional<std::string> utf8 = converter.Utf8FromCp932(sjis);
  ASSERT_TRUE(utf8);
  EXPECT_EQ(*utf8, "ソソ");
  EXPECT_EQ(converter.Cp932FromUtf8(*utf8), sjis);
}

TEST(CodePage, PassesAsciiThroughUnchangedIncludingNul) {
  const CodePageConverter converter;
  const std::string ascii("GA12\0\\~.txt", 11);
  EXPECT_EQ(converter.Utf8FromCp932(ascii), ascii);
  EXPECT_EQ(converter.Cp932FromUtf8(ascii), ascii);
}

TEST(CodePage, RejectsBytesThatDoNotConvert) {
  const CodePageConverter converter;
  EXPECT_FALSE(converter.Utf8FromCp932("AB\x82"));    // lone lead byte at the end
  EXPECT_FALSE(converter.Utf8FromCp932("\x80"));      // not a character
  EXPECT_FALSE(converter.Utf8FromCp932("\xa0"));      // not a character
  EXPECT_FALSE(converter.Cp932FromUtf8("\xff.txt"));  // not UTF-8
  EXPECT_FALSE(converter.Cp932FromUtf8("\xe3\x81"));  // truncated UTF-8
  EXPECT_FALSE(converter.Cp932FromUtf8("😀.txt"));     // no code page 932 form
  EXPECT_FALSE(Utf8FromCp932("\xfd"));
}

TEST(CodePage, LossyConversionMarksOnlyTheCharactersThatFail) {
  const CodePageConverter converter;
  EXPECT_EQ(converter.Cp932FromUtf8Lossy("/log/😀那覇\xff.txt"),
            std::string("/log/?\x93\xdf\x94\x65?.txt"));
}

TEST(CodePage, FixedTextThatCannotConvertIsAProgramFault) {
  EXPECT_THROW(Cp932Text("😀"), std::logic_error);
  EXPECT_EQ(Cp932Text("和文"), *Cp932FromUtf8("和文"));
}

TEST(CodePage, ConvertsLongTextBeyondTheFirstOutputGuess) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i)
    utf8 += "あ";
  const std::optional<std::string> sjis = Cp932FromUtf8(utf8);
  ASSERT_TRUE(sjis);
  EXPECT_EQ(sjis->size(), 10000u);
  EXPECT_EQ(Utf8FromCp932(*sjis), utf8);
}

}  // namespace
}  // namespace seaherald
