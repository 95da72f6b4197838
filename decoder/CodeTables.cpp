#include "decoder/CodeTables.h"

namespace seaherald {
namespace {

struct TableRow {
  int code;
  std::string_view letters;
  std::string_view figures;  // empty: no character in figures shift
};

// Every code with an entry has exactly four 1 bits. Code 102, the only other code of weight four,
// has no entry in either shift.
constexpr std::array<TableRow, 34> Rows = {{
    {15, "\r\n", "\r\n"}, {23, "T", "5"},          {27, "\r\n", "\r\n"}, {29, " ", " "},
    {30, "V", "="},       {39, "B", "?"},          {43, " ", " "},       {45, "DN", "DN"},
    {46, "X", "/"},       {51, "SYNC2", "SYNC2"},  {53, "E", "3"},       {54, "UP", "UP"},
    {57, "U", "7"},       {58, "Q", "1"},          {60, "K", "("},       {71, "O", "9"},
    {75, "H", ""},        {77, "N", ","},          {78, "M", "."},       {83, "L", ")"},
    {85, "R", "4"},       {86, "G", ""},           {89, "I", "8"},       {90, "P", "0"},
    {92, "C", ":"},       {99, "Z", "+"},          {101, "D", ""},       {105, "S", ""},
    {106, "Y", "6"},      {108, "F", ""},          {113, "A", "-"},      {114, "W", "2"},
    {116, "J", ""},       {120, "SYNC1", "SYNC1"},
}};

constexpr EnglishTable BuildTable(bool figures) {
  EnglishTable table{};
  for (const TableRow& row : Rows)
    table[row.code] = figures ? row.figures : row.letters;
  return table;
}

constexpr EnglishTable Letters = BuildTable(false);
constexpr EnglishTable Figures = BuildTable(true);

}  // namespace

const EnglishTable& LettersTable() {
  return Letters;
}
const EnglishTable& FiguresTable() {
  return Figures;
}

std::string_view EnglishEntry(Shift shift, int code) {
  if (code < 0 || code >= EnglishCodeCount) return {};
  return shift == Shift::Figures ? Figures[code] : Letters[code];
}

}  // namespace seaherald
