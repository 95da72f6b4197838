#include "decoder/ShiftRepair.h"

#include <algorithm>
#include <string_view>

namespace seaherald {
namespace {

// Figures as stations send them in a number: digits with a sign or two (32-45, 0053/26, 16.5).
bool ReadsAsNumber(std::string_view text) {
  std::ptrdiff_t signs = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') continue;
    if (std::string_view("-/.,").find(c) == std::string_view::npos) return false;
    ++signs;
  }
  return signs <= std::max<std::ptrdiff_t>(1, static_cast<std::ptrdiff_t>(text.size()) / 3);
}

Shift ShiftOf(const CodeHandler& codes) {
  return static_cast<Shift>(codes.ShiftState());
}

Shift Other(Shift shift) {
  return shift == Shift::Letters ? Shift::Figures : Shift::Letters;
}

}  // namespace

void ShiftRepair::Take(int code, const ShiftDoubt& doubt) {
  // A letter without a figure in figures shift: the shift back to letters was lost (or a figures
  // shift misread), and the letter is the likelier reading.
  if (ShiftOf(codes_) == Shift::Figures && EnglishEntry(Shift::Figures, code).empty() &&
      !EnglishEntry(Shift::Letters, code).empty()) {
    Reprint(Shift::Letters);
    codes_.HandleEnglishCode(LettersShiftCode);
    StartRun(UnsureMargin);
  }
  const Shift shift = ShiftOf(codes_);
  if (code == LettersShiftCode || code == FiguresShiftCode) {
    const Shift to = code == LettersShiftCode ? Shift::Letters : Shift::Figures;
    if (to == shift) Reprint(Other(shift));
    StartRun(doubt.margin);
    return;
  }
  if (EnglishEntry(shift, code).size() == 1 && code != PhasingCode1 && code != PhasingCode2) {
    Append(code, shift == Shift::Letters ? doubt.toFigures : doubt.toLetters);
    return;
  }
  Clear();
}

void ShiftRepair::Clear() {
  StartRun(UnsureMargin);
}

void ShiftRepair::StartRun(double openingDoubt) {
  length_ = 0;
  openingMargin_ = openingDoubt;
}

void ShiftRepair::Append(int code, double shiftGap) {
  if (length_ == MaxRun) {
    std::rotate(run_.begin(), run_.begin() + 1, run_.end());
    std::rotate(shiftGaps_.begin(), shiftGaps_.begin() + 1, shiftGaps_.end());
    --length_;
    openingMargin_ = UnsureMargin;  // the run's start is gone
  }
  run_[length_] = code;
  shiftGaps_[length_++] = shiftGap;
}

bool ShiftRepair::IsSpace(int code) {
  return EnglishEntry(Shift::Letters, code) == " ";
}

// Whether every word of the run from `from` on reads the way `shift` is used.
bool ShiftRepair::TailReads(Shift shift, int from) const {
  for (int begin = from; begin < length_;) {
    if (IsSpace(run_[begin])) {
      ++begin;
      continue;
    }
    int end = begin;
    std::string figures;
    bool allFigures = true;
    for (; end < length_ && !IsSpace(run_[end]); ++end) {
      const std::string_view figure = EnglishEntry(Shift::Figures, run_[end]);
      allFigures = allFigures && !figure.empty();
      figures += figure;
    }
    const bool number = allFigures && ReadsAsNumber(figures);
    if (shift == Shift::Figures ? !number : number) return false;
    begin = end;
  }
  return true;
}

void ShiftRepair::Reprint(Shift shift) {
  // The nearest place where the shift may have been lost: a character read with that shift
  // nearly as likely, or the shift that began the run read in place of a character.
  int lost = length_;
  while (lost > 0 && shiftGaps_[lost - 1] >= UnsureMargin)
    --lost;
  int from = lost;  // the first character printed again
  if (lost == 0) {
    if (openingMargin_ >= UnsureMargin) return;
  } else {
    --lost;  // the misread shift itself, dropped
  }
  if (length_ == lost || !TailReads(shift, from) ||
      line_.Text().size() < static_cast<std::size_t>(length_ - lost)) {
    return;
  }
  std::string text;
  for (int i = from; i < length_; ++i)
    text += EnglishEntry(shift, run_[i]);
  line_.ReplaceTail(static_cast<std::size_t>(length_ - lost), text);
  StartRun(UnsureMargin);
}

}  // namespace seaherald
