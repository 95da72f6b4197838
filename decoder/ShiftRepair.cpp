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

}  // namespace

void ShiftRepair::Take(int code, double margin) {
  // A letter without a figure in figures shift: at low SNR the shift back to letters was lost (or
  // a figures shift misread), and the letter is the likelier reading.
  if (ShiftOf(codes_) == Shift::Figures && EnglishEntry(Shift::Figures, code).empty() &&
      !EnglishEntry(Shift::Letters, code).empty()) {
    LettersShiftLost();
  }
  const Shift shift = ShiftOf(codes_);
  if (code == LettersShiftCode || code == FiguresShiftCode) {
    const Shift to = code == LettersShiftCode ? Shift::Letters : Shift::Figures;
    if (to == shift) Reprint(shift == Shift::Letters ? Shift::Figures : Shift::Letters, false);
    Clear();
    return;
  }
  if (EnglishEntry(shift, code).size() == 1 && code != PhasingCode1 && code != PhasingCode2) {
    Append(code, margin);
    return;
  }
  Clear();
}

void ShiftRepair::LettersShiftLost() {
  Reprint(Shift::Letters, true);
  codes_.HandleEnglishCode(LettersShiftCode);
  Clear();
}

void ShiftRepair::Clear() {
  length_ = 0;
}

void ShiftRepair::Append(int code, double margin) {
  if (length_ == MaxRun) {
    std::rotate(run_.begin(), run_.begin() + 1, run_.end());
    std::rotate(margins_.begin(), margins_.begin() + 1, margins_.end());
    --length_;
  }
  run_[length_] = code;
  margins_[length_++] = margin;
}

bool ShiftRepair::IsSpace(int code) {
  return EnglishEntry(Shift::Letters, code) == " ";
}

// Where the words at the end of the run that read the `shift` way begin; `dropFirst` tells
// whether the code there is the misread figures shift, to be left out.
int ShiftRepair::WordsReading(Shift shift, bool& dropFirst) const {
  int start = length_;
  dropFirst = false;
  while (start > 0 && !dropFirst) {
    int end = start;
    while (end > 0 && IsSpace(run_[end - 1]))
      --end;
    int begin = end;
    while (begin > 0 && !IsSpace(run_[begin - 1]))
      --begin;
    if (begin == end) break;
    std::string figures;
    bool skipped = false;
    for (int i = begin; i < end; ++i) {
      const std::string_view figure = EnglishEntry(Shift::Figures, run_[i]);
      if (figure.empty() && shift == Shift::Figures && i == begin) {
        skipped = true;
        continue;
      }
      figures += figure;
    }
    if (figures.empty()) break;
    const bool number =
        figures.size() == static_cast<std::size_t>(end - begin - (skipped ? 1 : 0)) &&
        ReadsAsNumber(figures);
    if (shift == Shift::Figures ? !number : number) break;
    start = begin;
    dropFirst = skipped;
  }
  return start;
}

bool ShiftRepair::Reprint(Shift shift, bool sure) {
  bool dropFirst = false;
  const int start = WordsReading(shift, dropFirst);
  if (length_ - start < 2 || line_.Text().size() < static_cast<std::size_t>(length_ - start)) {
    return false;
  }
  // The misread shift itself lies at the start of the words or just before them.
  const double least =
      *std::min_element(margins_.begin() + std::max(start - 1, 0), margins_.begin() + length_);
  if (!sure && least >= UnsureMargin) return false;
  std::string text;
  for (int i = start + (dropFirst ? 1 : 0); i < length_; ++i)
    text += EnglishEntry(shift, run_[i]);
  line_.ReplaceTail(static_cast<std::size_t>(length_ - start), text);
  return true;
}

}  // namespace seaherald
