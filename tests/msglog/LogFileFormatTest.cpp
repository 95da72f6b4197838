#include "msglog/LogFileFormat.h"

#include <gtest/gtest.h>

#include "MsglogFakes.h"
#include "msglog/LogFileReader.h"

namespace seaherald {
namespace {

using testing::LogContent;
using testing::Sjis;
using testing::TempFolder;
using testing::WriteBytes;

TEST(LogFileLayout, ComposesTheThreeHeaderLinesByteForByte) {
  const std::string content = ComposeLogFile({2024, 3, 1, 9, 5, 7}, 9, "BODY 1\r\nBODY 2\r\n");
  EXPECT_EQ(content,
            "Last received 2024/03/01 09:05:07\r\nDetected 009 error\r\n-\r\nBODY 1\r\nBODY 2\r\n");
  EXPECT_EQ(content.substr(kBodyFirstByte - 1), "BODY 1\r\nBODY 2\r\n");
  EXPECT_EQ(content.find("\r\n") + 2, 35u);
}

TEST(LogFileLayout, ErrorCountHasAtLeastThreeDigits) {
  EXPECT_NE(ComposeLogFile({}, 0, "").find("Detected 000 error\r\n"), std::string::npos);
  EXPECT_NE(ComposeLogFile({}, 1000, "").find("Detected 1000 error\r\n"), std::string::npos);
}

TEST(NumberRule, ReadsDigitsSignsAndRejectsAnythingElse) {
  EXPECT_EQ(ParseCount("003"), 3);
  EXPECT_EQ(ParseCount("999"), 999);
  EXPECT_EQ(ParseCount("0 3"), 0);
  EXPECT_EQ(ParseCount("-12"), -12);
  EXPECT_EQ(ParseCount("1-2"), -12);
  EXPECT_EQ(ParseCount(""), 0);
  EXPECT_EQ(ParseCount("12\n"), 0);
  EXPECT_EQ(ParseCount("x12"), 0);
  EXPECT_EQ(ParseCount("99999999999999"), 2147483647);
}

TEST(CharacterCuts, RangesAndCutsStayInsideTheText) {
  EXPECT_EQ(CharRange("Detected 009 error", 10, 12), "009");
  EXPECT_EQ(CharRange("Detected 5", 10, 12), "5");
  EXPECT_EQ(CharRange("short", 10, 12), "");
  const std::string text = std::string("ab") + Sjis("あい");  // 6 bytes
  EXPECT_EQ(CutAtCharBoundary(text, 3), "ab");
  EXPECT_EQ(CutAtCharBoundary(text, 4), std::string("ab") + Sjis("あ"));
  EXPECT_EQ(CutAtCharBoundary(text, 6), text);
  EXPECT_EQ(CutAtCharBoundary("a\x82\x0d"
                              "b",
                              2),
            "a\x82");  // a lone lead is one character
}

class LogFileHeadTest : public ::testing::Test {
 protected:
  std::filesystem::path Write(std::string_view bytes) {
    const std::filesystem::path path = folder_.Path() / "file.txt";
    WriteBytes(path, bytes);
    return path;
  }
  TempFolder folder_;
};

TEST_F(LogFileHeadTest, ReadsCaptionCountAndSeventhLine) {
  const std::optional<LogFileHead> head = ReadLogFileHead(
      Write(LogContent("2024/03/31 12:34:56", "007", "L4\r\nL5\r\nL6\r\nSEVENTH\r\nL8\r\n")));
  ASSERT_TRUE(head);
  EXPECT_EQ(CaptionOf(*head), "2024/03/31 12:34");
  EXPECT_EQ(StoredCountOf(*head), 7);
  EXPECT_EQ(ContentOf(*head), "SEVENTH");
  EXPECT_EQ(DateOf(*head), std::chrono::year{2024} / 3 / 31);
}

TEST_F(LogFileHeadTest, ShortFilesLeaveTheLastLineThatCouldBeRead) {
  const auto four = ReadLogFileHead(Write(LogContent("2024/03/31 12:34:56", "000", "FIRST\r\n")));
  ASSERT_TRUE(four);
  EXPECT_EQ(ContentOf(*four), "FIRST");
  const auto two =
      ReadLogFileHead(Write("Last received 2024/03/31 12:34:56\r\nDetected 002 error"));
  ASSERT_TRUE(two);
  EXPECT_EQ(ContentOf(*two), "Detected 002 error");
  EXPECT_EQ(StoredCountOf(*two), 2);
  const auto one = ReadLogFileHead(Write("Last received 2024/03/31 12:34:56\r\n"));
  ASSERT_TRUE(one);
  EXPECT_EQ(StoredCountOf(*one), 0);
  EXPECT_EQ(ContentOf(*one), "");
  EXPECT_EQ(CaptionOf(*one), "2024/03/31 12:34");
  const auto empty = ReadLogFileHead(Write(""));
  ASSERT_TRUE(empty);
  EXPECT_EQ(CaptionOf(*empty), "");
  EXPECT_EQ(StoredCountOf(*empty), 0);
  EXPECT_FALSE(DateOf(*empty));
}

TEST_F(LogFileHeadTest, AcceptsLfAndCrLineEnds) {
  const auto lf = ReadLogFileHead(
      Write("Last received 2024/03/31 12:34:56\nDetected 012 error\n-\na\nb\nc\nd\n"));
  ASSERT_TRUE(lf);
  EXPECT_EQ(StoredCountOf(*lf), 12);
  EXPECT_EQ(ContentOf(*lf), "d");
  const auto cr = ReadLogFileHead(
      Write("Last received 2024/03/31 12:34:56\rDetected 012 error\r-\ra\rb\rc\rd\r"));
  ASSERT_TRUE(cr);
  EXPECT_EQ(StoredCountOf(*cr), 12);
  EXPECT_EQ(ContentOf(*cr), "d");
}

TEST_F(LogFileHeadTest, KeepsOnlySixtyThreeBytesOfALineAndNeverHalfACharacter) {
  const std::string longAscii(100, 'A');
  const auto ascii = ReadLogFileHead(
      Write(LogContent("2024/03/31 12:34:56", "000", "1\r\n2\r\n3\r\n" + longAscii + "\r\n")));
  ASSERT_TRUE(ascii);
  EXPECT_EQ(ContentOf(*ascii), std::string(63, 'A'));
  // 62 single bytes then a double-byte character straddling the 63-byte limit.
  const std::string straddling = std::string(62, 'B') + Sjis("あ") + "tail";
  const auto wide = ReadLogFileHead(
      Write(LogContent("2024/03/31 12:34:56", "000", "1\r\n2\r\n3\r\n" + straddling + "\r\n")));
  ASSERT_TRUE(wide);
  EXPECT_EQ(ContentOf(*wide), std::string(62, 'B'));
}

TEST_F(LogFileHeadTest, ALongFirstLineDoesNotShiftTheLinesAfterIt) {
  const auto head =
      ReadLogFileHead(Write("Last received 2024/03/31 12:34:56" + std::string(200, 'x') +
                            "\r\nDetected 004 error\r\n-\r\n1\r\n2\r\n3\r\nLINE7\r\n"));
  ASSERT_TRUE(head);
  EXPECT_EQ(StoredCountOf(*head), 4);
  EXPECT_EQ(ContentOf(*head), "LINE7");
  EXPECT_EQ(CaptionOf(*head), "2024/03/31 12:34");
}

TEST_F(LogFileHeadTest, CountOfThousandsShowsItsFirstThreeDigits) {
  const auto head = ReadLogFileHead(Write(LogContent("2024/03/31 12:34:56", "1234", "x\r\n")));
  ASSERT_TRUE(head);
  EXPECT_EQ(StoredCountOf(*head), 123);
}

TEST_F(LogFileHeadTest, ShortSecondLineBringsItsLineEndIntoTheCountAndGivesZero) {
  const auto head = ReadLogFileHead(Write("Last received 2024/03/31 12:34:56\r\nDetected 5\r\n"));
  ASSERT_TRUE(head);
  EXPECT_EQ(StoredCountOf(*head), 0);
}

TEST_F(LogFileHeadTest, DatesMustBeRealCalendarDatesAtFixedPlaces) {
  const auto dateOf = [&](std::string_view line1) {
    return DateOf(*ReadLogFileHead(Write(std::string(line1) + "\r\n")));
  };
  EXPECT_EQ(dateOf("Last received 2024/02/29 23:59:59"), std::chrono::year{2024} / 2 / 29);
  EXPECT_FALSE(dateOf("Last received 2023/02/29 23:59:59"));
  EXPECT_FALSE(dateOf("Last received 2024-03-01 00:00:00"));
  EXPECT_FALSE(dateOf("Last received 2024/3/1 00:00:00"));
  EXPECT_FALSE(dateOf("Last received 2024/13/01"));
  EXPECT_FALSE(dateOf("Last received 2024/03/0"));
  EXPECT_FALSE(dateOf("hello"));
  EXPECT_EQ(dateOf("XXXXXXXXXXXXXX1999/12/31"), std::chrono::year{1999} / 12 / 31);
}

TEST_F(LogFileHeadTest, DirectoriesAndMissingFilesCannotBeRead) {
  EXPECT_FALSE(ReadLogFileHead(folder_.Path()));
  EXPECT_FALSE(ReadLogFileHead(folder_.Path() / "missing.txt"));
  EXPECT_EQ(StoredCountOfFile(folder_.Path() / "missing.txt"), 999);
  EXPECT_FALSE(ReadStoredText(folder_.Path()));
}

// Running out of descriptors says nothing about the file: its count is unknown, not 999.
TEST_F(LogFileHeadTest, FailuresOfTheMomentAreToldApartFromFailuresOfTheFile) {
  const std::filesystem::path stored = Write(LogContent("2024/03/31 12:34:56", "004", "A\r\n"));
  {
    const testing::DescriptorShortage shortage(0);
    EXPECT_EQ(TryReadLogFileHead(stored).failure, ReadFailure::kTransient);
    EXPECT_EQ(StoredCountOfFile(stored), std::nullopt);
    EXPECT_EQ(CleanUpDateOf(TryReadLogFileHead(stored)), std::nullopt) << "the clean-up keeps it";
  }
  EXPECT_EQ(CleanUpDateOf(TryReadLogFileHead(folder_.Path() / "missing.txt")),
            std::chrono::year{1901} / 1 / 1);
  EXPECT_EQ(CleanUpDateOf(TryReadLogFileHead(stored)), std::chrono::year{2024} / 3 / 31);
  EXPECT_EQ(TryReadLogFileHead(folder_.Path()).failure, ReadFailure::kFile);
  EXPECT_EQ(TryReadLogFileHead(folder_.Path() / "missing.txt").failure, ReadFailure::kFile);
  EXPECT_EQ(TryReadLogFileHead(stored).failure, ReadFailure::kNone);
  EXPECT_EQ(StoredCountOfFile(stored), 4);
}

TEST_F(LogFileHeadTest, StoredTextIsTheBodyFromByteFiftyNine) {
  const std::string body =
      std::string("BODY\r\n") + Sjis("那覇") + std::string("\0\x82", 2) + "\r\n";
  EXPECT_EQ(ReadStoredText(Write(LogContent("2024/03/31 12:34:56", "000", body))), body);
  EXPECT_EQ(ReadStoredText(Write("Last received 2024/03/31 12:34:56\nDetected 000 error\n-\nA\nB")),
            "A\r\nB\r\n");
  EXPECT_EQ(ReadStoredText(Write("short\r\n")), "");
  EXPECT_EQ(ReadStoredText(Write("")), "");
}

}  // namespace
}  // namespace seaherald
