#include "decoder/SoftCodeBook.h"

#include <cmath>
#include <limits>
#include <utility>

#include "decoder/BitRegister.h"
#include "decoder/CodeTables.h"

namespace seaherald {
namespace {

constexpr int CopyDistance = 5;  // characters between the two copies
constexpr int EnglishBits = BitRegister::EnglishBits;
constexpr int JapaneseBits = BitRegister::JapaneseBits;
constexpr int JapaneseDataBits = 7;

// Register bit i of an English code is bit i of the code (the first bit received is the most
// significant and lies deepest).
std::vector<double> EnglishSigns(int code) {
  std::vector<double> signs(EnglishBits);
  for (int i = 0; i < EnglishBits; ++i)
    signs[i] = (code >> i & 1) != 0 ? 1.0 : -1.0;
  return signs;
}

// Register bits 0..2 hold the zero count (bit 0 its least significant), bits 3..9 the data from
// its most significant bit on.
std::vector<double> JapaneseSigns(int data, int check) {
  std::vector<double> signs(JapaneseBits);
  for (int i = 0; i < 3; ++i)
    signs[i] = (check >> i & 1) != 0 ? 1.0 : -1.0;
  for (int j = 0; j < JapaneseDataBits; ++j)
    signs[3 + j] = (data >> (JapaneseDataBits - 1 - j) & 1) != 0 ? 1.0 : -1.0;
  return signs;
}

int ZeroCount(int data) {
  return JapaneseDataBits - OneBits(data);
}

// The two best of a set of scores, with what they stand for.
struct TopTwo {
  double best = -std::numeric_limits<double>::infinity();
  double second = -std::numeric_limits<double>::infinity();
  int choice = PairReading::Phasing;

  void Offer(double score, int what) {
    if (score > best) {
      second = best;
      best = score;
      choice = what;
    } else if (score > second) {
      second = score;
    }
  }
};

double Dot(const std::vector<double>& signs, const double* values) {
  double sum = 0;
  for (std::size_t i = 0; i < signs.size(); ++i)
    sum += signs[i] * values[i];
  return sum;
}

// Half a correlation is the log-likelihood of a pattern up to a term common to all patterns;
// against random bits each bit also costs log(cosh(L/2)). The two best patterns stand in for the
// sum over all of them, weighted by the prior of one in `hypotheses`.
PairReading ReadingOf(const TopTwo& top, double logCoshSum, int hypotheses) {
  PairReading reading;
  reading.choice = top.choice;
  reading.margin = (top.best - top.second) / 2;
  const double best = top.best / 2 - logCoshSum;
  reading.evidence = best + std::log1p(std::exp(-reading.margin)) - std::log(hypotheses);
  return reading;
}

}  // namespace

SoftCodeBook::SoftCodeBook(int bits, std::vector<Word> words, Word phasingNewest, Word phasingFirst)
    : bits_(bits),
      english_(bits == EnglishBits),
      words_(std::move(words)),
      phasingNewest_(std::move(phasingNewest)),
      phasingFirst_(std::move(phasingFirst)) {}

const SoftCodeBook& SoftCodeBook::English() {
  static const SoftCodeBook book = [] {
    std::vector<Word> words;
    for (int code = 0; code < 1 << EnglishBits; ++code) {
      if (OneBits(code) == 4) words.push_back({code, EnglishSigns(code)});
    }
    return SoftCodeBook(EnglishBits, std::move(words), {120, EnglishSigns(120)},
                        {51, EnglishSigns(51)});
  }();
  return book;
}

const SoftCodeBook& SoftCodeBook::Japanese() {
  static const SoftCodeBook book = [] {
    std::vector<Word> words;
    for (int data = 0; data < 1 << JapaneseDataBits; ++data)
      words.push_back({data, JapaneseSigns(data, ZeroCount(data))});
    return SoftCodeBook(JapaneseBits, std::move(words), {4, JapaneseSigns(4, ZeroCount(4))},
                        {25, JapaneseSigns(25, ZeroCount(25))});
  }();
  return book;
}

// Each certain bit that fits the likeliest pattern adds log 2 over random bits; the prior of one
// pattern in all of them takes its share away.
double SoftCodeBook::FullEvidence() const {
  return 2 * bits_ * std::log(2.0) - std::log(static_cast<double>(words_.size()) + 1);
}

std::array<PairReading, 2> SoftCodeBook::Read(std::span<const double> soft,
                                              std::span<const double> logCosh,
                                              const std::bitset<128>* allowed, bool phasing) const {
  const double* newest = soft.data();
  const double* first = soft.data() + CopyDistance * bits_;
  double combined[JapaneseBits];
  double logCoshSum = 0;
  for (int i = 0; i < bits_; ++i) {
    combined[i] = newest[i] + first[i];
    logCoshSum += logCosh[i] + logCosh[CopyDistance * bits_ + i];
  }
  TopTwo asGiven, inverted;
  constexpr double Never = -std::numeric_limits<double>::infinity();
  double letters = Never;
  double figures = Never;
  for (const Word& word : words_) {
    if (allowed != nullptr && !allowed->test(static_cast<std::size_t>(word.value))) continue;
    const double score = Dot(word.signs, combined);
    asGiven.Offer(score, word.value);
    inverted.Offer(-score, word.value);
    if (!english_) continue;
    if (word.value == LettersShiftCode) letters = score;
    if (word.value == FiguresShiftCode) figures = score;
  }
  if (phasing) {
    const double score = Dot(phasingNewest_.signs, newest) + Dot(phasingFirst_.signs, first);
    asGiven.Offer(score, PairReading::Phasing);
    inverted.Offer(-score, PairReading::Phasing);
  }
  const int hypotheses = static_cast<int>(words_.size()) + 1;
  std::array<PairReading, 2> readings{ReadingOf(asGiven, logCoshSum, hypotheses),
                                      ReadingOf(inverted, logCoshSum, hypotheses)};
  if (english_) {
    readings[0].toLettersShift = (asGiven.best - letters) / 2;
    readings[0].toFiguresShift = (asGiven.best - figures) / 2;
    readings[1].toLettersShift = (inverted.best + letters) / 2;
    readings[1].toFiguresShift = (inverted.best + figures) / 2;
  }
  return readings;
}

}  // namespace seaherald
