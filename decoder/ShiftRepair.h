#pragma once

#include <array>
#include <string>

#include "decoder/CodeHandler.h"
#include "decoder/CodeTables.h"
#include "decoder/DecodedLine.h"

namespace seaherald {

// How one English character was read: its code, its lead over the next reading, and how much
// less likely than the chosen code each shift code was (nats).
struct ShiftDoubt {
  double margin;
  double toLetters;
  double toFigures;
};

// At low SNR a letters or figures shift is now and then read as another character, and every
// character up to the next shift is then printed from the wrong half of the table: a number comes
// out as letters (128-10 as QWI-QP) or a word as figures (AREA as -43-). Stations send a shift
// only to change shifts, so a shift to the shift already in force, or a letter that has no
// figure, shows that one was lost. It can only have been lost where a character was read with the
// shift nearly as likely: that character is dropped and what follows it is printed again from
// the other half, if it reads the way that half is used (figures as a number, letters as anything
// but one). Nothing before it is touched, so words read with confidence stay as they were read,
// and a clean signal prints exactly what was sent.
class ShiftRepair {
 public:
  // A shift this much less likely than the character read may have been what was sent (nats).
  static constexpr double UnsureMargin = 3.0;

  ShiftRepair(CodeHandler& codes, DecodedLine& line) : codes_(codes), line_(line) {}

  // Before an accepted English code is handled. A letter without a figure in figures shift is
  // put in letters shift here, so that it can be handled.
  void Take(int code, const ShiftDoubt& doubt);
  // The line was ended or cleared, or sync lost.
  void Clear();

 private:
  static constexpr int MaxRun = 24;

  static bool IsSpace(int code);
  void Append(int code, double shiftGap);
  bool TailReads(Shift shift, int from) const;
  // Drops the character where the shift to `shift` was lost and prints the rest of the run
  // again from that half, when there is such a place.
  void Reprint(Shift shift);
  void StartRun(double openingDoubt);

  CodeHandler& codes_;
  DecodedLine& line_;
  std::array<int, MaxRun> run_{};  // codes printed since the last shift or line end
  // For each of them: how much less likely the shift away from the run's shift was.
  std::array<double, MaxRun> shiftGaps_{};
  int length_ = 0;
  // The shift that began the run was read with this lead: a low one means it may have been a
  // character, and the run was printed from the wrong half from its start.
  double openingMargin_ = UnsureMargin;
};

}  // namespace seaherald
