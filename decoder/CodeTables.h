#pragma once

#include <array>
#include <string_view>

namespace seaherald {

// English (SITOR-B) character tables, indexed by the 7-bit code whose most significant bit is
// the one received first. An empty entry marks a code without a character in that shift.
inline constexpr int EnglishCodeCount = 127;
using EnglishTable = std::array<std::string_view, EnglishCodeCount>;

// Control codes of the English tables.
inline constexpr int CarriageReturnCode = 15;
inline constexpr int LineFeedCode = 27;
inline constexpr int LettersShiftCode = 45;
inline constexpr int PhasingCode2 = 51;  // "SYNC2"
inline constexpr int FiguresShiftCode = 54;
inline constexpr int PhasingCode1 = 120;  // "SYNC1"

enum class Shift { Letters = 0, Figures = 1 };

const EnglishTable& LettersTable();
const EnglishTable& FiguresTable();

// The entry for a code in a shift; empty for a code outside 0..126 as well.
std::string_view EnglishEntry(Shift shift, int code);

}  // namespace seaherald
