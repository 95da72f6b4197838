#include <gtest/gtest.h>

#include <iconv.h>
#include <bit>
#include <set>
#include <string>

#include "decoder/CodeHandler.h"
#include "decoder/CodeTables.h"
#include "decoder/DecodedLine.h"
#include "decoder/JisToShiftJis.h"
#include "tests/decoder/RecordingSink.h"

namespace seaherald {
namespace {

using test::ReceivedLine;
using test::RecordingSink;

int Weight(int code) {
  return std::popcount(static_cast<unsigned>(code));
}

int Entries(const EnglishTable& table) {
  int count = 0;
  for (std::string_view entry : table)
    count += entry.empty() ? 0 : 1;
  return count;
}

// Every code of both shifts against the table as written: code, the bits in the order of
// reception, the letters entry and the figures entry ("" where there is none). Codes that are
// not listed have no entry in either shift.
struct WrittenCode {
  int code;
  const char* bits;
  const char* letters;
  const char* figures;
};
constexpr WrittenCode kWrittenCodes[] = {
    {15, "0001111", "\r\n", "\r\n"}, {23, "0010111", "T", "5"},
    {27, "0011011", "\r\n", "\r\n"}, {29, "0011101", " ", " "},
    {30, "0011110", "V", "="},       {39, "0100111", "B", "?"},
    {43, "0101011", " ", " "},       {45, "0101101", "DN", "DN"},
    {46, "0101110", "X", "/"},       {51, "0110011", "SYNC2", "SYNC2"},
    {53, "0110101", "E", "3"},       {54, "0110110", "UP", "UP"},
    {57, "0111001", "U", "7"},       {58, "0111010", "Q", "1"},
    {60, "0111100", "K", "("},       {71, "1000111", "O", "9"},
    {75, "1001011", "H", ""},        {77, "1001101", "N", ","},
    {78, "1001110", "M", "."},       {83, "1010011", "L", ")"},
    {85, "1010101", "R", "4"},       {86, "1010110", "G", ""},
    {89, "1011001", "I", "8"},       {90, "1011010", "P", "0"},
    {92, "1011100", "C", ":"},       {99, "1100011", "Z", "+"},
    {101, "1100101", "D", ""},       {105, "1101001", "S", ""},
    {106, "1101010", "Y", "6"},      {108, "1101100", "F", ""},
    {113, "1110001", "A", "-"},      {114, "1110010", "W", "2"},
    {116, "1110100", "J", ""},       {120, "1111000", "SYNC1", "SYNC1"},
};

TEST(CodeTables, EveryEntryOfBothShiftsAsWritten) {
  std::set<int> listed;
  for (const WrittenCode& written : kWrittenCodes) {
    SCOPED_TRACE(written.code);
    EXPECT_EQ(std::stoi(written.bits, nullptr, 2), written.code) << "bits of the row";
    EXPECT_EQ(EnglishEntry(Shift::Letters, written.code), written.letters);
    EXPECT_EQ(EnglishEntry(Shift::Figures, written.code), written.figures);
    listed.insert(written.code);
  }
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (listed.contains(code)) continue;
    EXPECT_EQ(EnglishEntry(Shift::Letters, code), "") << code;
    EXPECT_EQ(EnglishEntry(Shift::Figures, code), "") << code;
  }
}

TEST(CodeTables, OnlyCodesOfWeightFourHaveEntries) {
  EXPECT_EQ(Entries(LettersTable()), 34);
  EXPECT_EQ(Entries(FiguresTable()), 28);
  int weightFour = 0;
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (Weight(code) != 4) {
      EXPECT_TRUE(LettersTable()[code].empty()) << code;
      EXPECT_TRUE(FiguresTable()[code].empty()) << code;
      continue;
    }
    ++weightFour;
    EXPECT_EQ(LettersTable()[code].empty(), code == 102) << code;
  }
  EXPECT_EQ(weightFour, 35);
}

TEST(CodeTables, EveryLetterAndDigitOnce) {
  std::multiset<std::string_view> letters(LettersTable().begin(), LettersTable().end());
  std::multiset<std::string_view> figures(FiguresTable().begin(), FiguresTable().end());
  for (char c = 'A'; c <= 'Z'; ++c)
    EXPECT_EQ(letters.count(std::string_view(&c, 1)), 1u) << c;
  for (char c = '0'; c <= '9'; ++c)
    EXPECT_EQ(figures.count(std::string_view(&c, 1)), 1u) << c;
  for (char c : std::string_view("-?:(3)=.,/+5")) {
    EXPECT_EQ(figures.count(std::string_view(&c, 1)), 1u) << c;
  }
}

TEST(CodeTables, FiguresShiftLacksDFGHJS) {
  std::string missing;
  for (int code = 0; code < EnglishCodeCount; ++code) {
    if (!LettersTable()[code].empty() && FiguresTable()[code].empty()) {
      missing += LettersTable()[code];
    }
  }
  std::sort(missing.begin(), missing.end());
  EXPECT_EQ(missing, "DFGHJS");
}

TEST(CodeTables, ControlCodesAndSampleCharacters) {
  EXPECT_EQ(LettersTable()[15], "\r\n");
  EXPECT_EQ(FiguresTable()[27], "\r\n");
  EXPECT_EQ(LettersTable()[45], "DN");
  EXPECT_EQ(FiguresTable()[54], "UP");
  EXPECT_EQ(LettersTable()[120], "SYNC1");
  EXPECT_EQ(FiguresTable()[51], "SYNC2");
  EXPECT_EQ(LettersTable()[29], " ");
  EXPECT_EQ(FiguresTable()[43], " ");
  EXPECT_EQ(EnglishEntry(Shift::Letters, 58), "Q");
  EXPECT_EQ(EnglishEntry(Shift::Figures, 58), "1");
  EXPECT_EQ(EnglishEntry(Shift::Letters, 113), "A");
  EXPECT_EQ(EnglishEntry(Shift::Figures, 105), "");
  EXPECT_EQ(EnglishEntry(Shift::Letters, 127), "");
  EXPECT_EQ(EnglishEntry(Shift::Letters, -1), "");
}

// Converts through glibc's tables: the JIS row/cell in EUC-JP form to Shift-JIS.
std::string IconvShiftJis(int first, int second) {
  iconv_t cd = iconv_open("SHIFT_JIS", "EUC-JP");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "no iconv";
  char in[2] = {static_cast<char>(first | 0x80), static_cast<char>(second | 0x80)};
  char out[8];
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = 2, outLeft = sizeof out;
  const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) return {};
  return std::string(out, outPtr);
}

TEST(JisToShiftJis, KnownCharacters) {
  EXPECT_EQ(JisToShiftJis(35, 78), (std::array<std::uint8_t, 2>{0x82, 0x6D}));  // full-width N
  EXPECT_EQ(JisToShiftJis(33, 33), (std::array<std::uint8_t, 2>{0x81, 0x40}));  // ideographic space
}

TEST(JisToShiftJis, AgreesWithAnIndependentConverterOverTheWholeTable) {
  ASSERT_NE(IconvShiftJis(35, 78), "no iconv");
  int compared = 0;
  for (int first = 33; first <= 126; ++first) {
    for (int second = 33; second <= 126; ++second) {
      const std::string expected = IconvShiftJis(first, second);
      if (expected.size() != 2) continue;  // unassigned in glibc's table
      const std::array<std::uint8_t, 2> bytes = JisToShiftJis(first, second);
      ASSERT_EQ(std::string(bytes.begin(), bytes.end()), expected) << first << "," << second;
      ++compared;
    }
  }
  EXPECT_GT(compared, 6800);
}

TEST(JisToShiftJis, AnySevenBitPairConvertsWithoutLineEnds) {
  for (int first = 0; first < 128; ++first) {
    for (int second = 0; second < 128; ++second) {
      for (std::uint8_t byte : JisToShiftJis(first, second)) {
        ASSERT_NE(byte, '\r');
        ASSERT_NE(byte, '\n');
      }
    }
  }
}

TEST(DecodedLine, EndsClearsAndShowsTheWholeLine) {
  RecordingSink sink;
  DecodedLine line(sink);
  line.EndLine(true);  // empty: nothing
  EXPECT_TRUE(sink.lines.empty());
  line.Append("A");
  line.Append("\x82\x6D");
  EXPECT_EQ(sink.liveLines, (std::vector<std::string>{"A", "A\x82\x6D"}));
  line.EndLine(true);
  EXPECT_EQ(sink.lines, (std::vector<ReceivedLine>{{"A\x82\x6D", true}}));
  EXPECT_TRUE(line.Text().empty());
  line.Append("B");
  line.ClearLine();
  line.EndLine(false);
  EXPECT_EQ(sink.lines.size(), 1u);
}

struct HandlerHarness {
  RecordingSink sink;
  DecodedLine line{sink};
  CodeHandler handler{line};
};

TEST(CodeHandler, EnglishShiftsControlsAndText) {
  HandlerHarness h;
  for (int code : {54, 58, 45, 58, 15, 120, 51, 29, 23})
    h.handler.HandleEnglishCode(code);
  EXPECT_EQ(h.line.Text(), "1Q T");
  EXPECT_EQ(h.sink.liveLines.size(), 4u);  // one per appended character
  h.handler.HandleEnglishCode(27);
  h.handler.HandleEnglishCode(27);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"1Q T", false}}));
}

TEST(CodeHandler, HasEnglishEntryFollowsTheShift) {
  HandlerHarness h;
  EXPECT_TRUE(h.handler.HasEnglishEntry(105));
  EXPECT_FALSE(h.handler.HasEnglishEntry(102));
  h.handler.HandleEnglishCode(54);
  EXPECT_FALSE(h.handler.HasEnglishEntry(105));
  EXPECT_TRUE(h.handler.HasEnglishEntry(45));
}

TEST(CodeHandler, JapaneseControlValues) {
  HandlerHarness h;
  h.handler.HandleJapaneseCode(35);
  EXPECT_EQ(h.handler.JisCount(), 1);
  EXPECT_TRUE(h.sink.liveLines.empty());  // a first half never shows
  h.handler.HandleJapaneseCode(78);
  EXPECT_EQ(h.line.Text(), "\x82\x6D");
  h.handler.HandleJapaneseCode(35);
  h.handler.HandleJapaneseCode(13);  // carriage return drops the half
  EXPECT_EQ(h.handler.JisCount(), 0);
  h.handler.HandleJapaneseCode(33);
  h.handler.HandleJapaneseCode(33);
  h.handler.HandleJapaneseCode(4);  // phasing value drops the line
  EXPECT_TRUE(h.line.Text().empty());
  h.handler.HandleJapaneseCode(35);
  h.handler.HandleJapaneseCode(78);
  h.handler.HandleJapaneseCode(33);
  h.handler.HandleJapaneseCode(10);  // line feed hands over and drops the half
  EXPECT_EQ(h.handler.JisCount(), 0);
  h.handler.HandleJapaneseCode(25);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"\x82\x6D", false}}));
}

}  // namespace
}  // namespace seaherald
