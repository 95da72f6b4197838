#include "bench/sensitivity/SweepMessages.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "tests/support/ShiftJisText.h"

namespace seaherald::sensitivity {
namespace {

using testsignal::Language;

constexpr std::array<std::string_view, 12> EnglishLines = {
    "EAST CHINA SEA.",
    "GUNNERY EXERCISES 120100 UTC TO 120500 UTC MAR 26",
    "IN AREA BOUNDED BY 32-45N 128-10E, 32-45N 128-40E,",
    "32-20N 128-40E AND 32-20N 128-10E.",
    "VESSELS ARE REQUESTED TO KEEP CLEAR.",
    "DERELICT VESSEL ADRIFT IN POSITION 34-05N 129-50E.",
    "LIGHT ON HIKI SHIMA UNLIT.",
    "LOW 996 HPA AT 38N 135E MOVING NE 25 KT.",
    "WINDS 30 TO 40 KT, SEAS 4 TO 6 METERS.",
    "CABLE LAYING OPERATIONS BY CS OCEAN LINK (3FRT4).",
    "WIDE BERTH REQUESTED. MONITOR VHF CH 16.",
    "CANCEL THIS MSG 120600 UTC MAR 26.",
};

constexpr std::array<std::string_view, 10> JapaneseLinesUtf8 = {
    "九州西岸　五島列島付近",
    "射撃訓練　三月十二日〇九〇〇から一五〇〇まで",
    "北緯３２度４５分　東経１２８度１０分付近",
    "航行船舶は十分注意されたい",
    "漂流物　コンテナ一個",
    "引島灯台　消灯中",
    "強風警報　低気圧　九九六ヘクトパスカル",
    "海底電線敷設作業　作業船　第三大洋丸",
    "付近航行中の船舶は注意されたい",
    "この警報は三月十二日〇六〇〇に取り消す",
};

constexpr int BodyLinesPerMessage = 4;

std::string FullWidth(char ascii) {
  // Full-width forms of ASCII letters and digits lie at U+FF01 + (c - '!'): three UTF-8 bytes.
  const int codePoint = 0xFF01 + (ascii - '!');
  std::string utf8;
  utf8 += static_cast<char>(0xE0 | (codePoint >> 12));
  utf8 += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
  utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
  return utf8;
}

// Letters and a serial that differ from one message to the next.
std::string AsciiHeader(int index, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%c%0*d", 'A' + (index * 7) % 26, 'A' + index % 12, digits,
                (index * 37) % (digits == 2 ? 100 : 1000));
  return text;
}

template <std::size_t N>
std::vector<std::string> BodyOf(const std::array<std::string_view, N>& pool, int index) {
  std::vector<std::string> body;
  for (int line = 0; line < BodyLinesPerMessage; ++line) {
    body.emplace_back(pool[static_cast<std::size_t>(index * 3 + line) % N]);
  }
  return body;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

SweepMessage EnglishMessage(int index) {
  SweepMessage message;
  message.header = AsciiHeader(index, 2);
  char first[32];
  std::snprintf(first, sizeof first, "NAVAREA XI %04d/26", (index * 53) % 10000);
  message.body.emplace_back(first);
  for (std::string& line : BodyOf(EnglishLines, index))
    message.body.push_back(std::move(line));
  message.lines.push_back("ZCZC " + message.header);
  message.lines.insert(message.lines.end(), message.body.begin(), message.body.end());
  message.lines.emplace_back("NNNN");
  message.broadcast.language = Language::English;
  message.broadcast.phasingSeconds = MessagePhasingSeconds;
  message.broadcast.text = JoinCrLf(message.lines);
  return message;
}

SweepMessage JapaneseMessage(int index) {
  SweepMessage message;
  std::string headerUtf8;
  for (const char c : AsciiHeader(index, 3))
    headerUtf8 += FullWidth(c);
  message.header = testsignal::Utf8ToShiftJis(headerUtf8);
  std::string serial;
  for (const char c : std::to_string(100 + index % 900))
    serial += FullWidth(c);
  message.body.push_back(testsignal::Utf8ToShiftJis("航行警報　第" + serial + "号"));
  for (const std::string& line : BodyOf(JapaneseLinesUtf8, index))
    message.body.push_back(testsignal::Utf8ToShiftJis(line));
  message.lines.push_back(testsignal::Utf8ToShiftJis("ＺＣＺＣ　") + message.header);
  message.lines.insert(message.lines.end(), message.body.begin(), message.body.end());
  message.lines.push_back(testsignal::Utf8ToShiftJis("ＮＮＮＮ"));
  message.broadcast.language = Language::Japanese;
  message.broadcast.phasingSeconds = MessagePhasingSeconds;
  message.broadcast.text = JoinCrLf(message.lines);
  return message;
}

}  // namespace

SweepMessage MakeSweepMessage(Language language, int index) {
  return language == Language::English ? EnglishMessage(index) : JapaneseMessage(index);
}

}  // namespace seaherald::sensitivity
