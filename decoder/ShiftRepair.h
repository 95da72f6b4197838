#pragma once

#include <array>
#include <string>

#include "decoder/CodeHandler.h"
#include "decoder/CodeTables.h"
#include "decoder/DecodedLine.h"

namespace seaherald {

// At low SNR a letters or figures shift is now and then misread, and every character up to the
// next shift is then printed from the wrong half of the table: a number comes out as letters
// (128-10 as QWI-QP) or a word as figures (AREA as -43-). Stations send a shift only to change
// shifts, so a shift to the shift already in force, or a letter that has no figure, shows that
// one was lost. The words printed since the last shift are then printed again from the other half
// when they read the way that half is used: figures as a number, letters as anything but one. Only
// runs holding an unsure reading are changed, so a clean signal prints exactly what was sent. Words
// are taken back from the end as long as they read that way.
class ShiftRepair {
 public:
  // A reading whose lead over the next is below this (nats) may have been a shift.
  static constexpr double UnsureMargin = 3.0;

  ShiftRepair(CodeHandler& codes, DecodedLine& line) : codes_(codes), line_(line) {}

  // Before an accepted English code with the lead its reading had is handled. A letter without a
  // figure in figures shift is put in letters shift here, so that it can be handled.
  void Take(int code, double margin);
  // The line was ended or cleared, or sync lost.
  void Clear();

 private:
  static constexpr int MaxRun = 24;

  // A letter without a figure came in figures shift: the letters shift was lost before it.
  void LettersShiftLost();
  static bool IsSpace(int code);
  void Append(int code, double margin);
  int WordsReading(Shift shift, bool& dropFirst) const;
  // Prints the run again from the `shift` half if it reads that way there; `sure` when a lost
  // shift is certain, so that no unsure reading is needed.
  bool Reprint(Shift shift, bool sure);

  CodeHandler& codes_;
  DecodedLine& line_;
  std::array<int, MaxRun> run_{};         // codes printed since the last shift or line end
  std::array<double, MaxRun> margins_{};  // the lead each of them was read with
  int length_ = 0;
};

}  // namespace seaherald
