#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace seaherald {

// What the two copies of a character most likely were, read from their soft values.
struct PairReading {
  static constexpr int Phasing = -1;  // the phasing pair of the service, not a character
  int choice = Phasing;               // the character's code or data value, or Phasing
  double margin = 0;                  // nats between the likeliest reading and the next
  double evidence = 0;                // nats for "a pair of this service" over "random bits"
  // English: how much less likely than the choice the letters and the figures shift were
  // (nats; zero when one of them is the choice).
  double toLettersShift = std::numeric_limits<double>::infinity();
  double toFiguresShift = std::numeric_limits<double>::infinity();
  std::int64_t endBit = 0;  // the bit the pair ends at, to read it again
};

// The valid code words of one service as sign patterns, and the reading of a character pair
// from the soft values of its two copies. Soft values are log-likelihood ratios of a 1 over a 0,
// in register order: index 0 is the newest bit, the copy sent first lies five characters back.
class SoftCodeBook {
 public:
  // The 35 seven-bit codes of weight four; the phasing pair 120 (newest) and 51.
  static const SoftCodeBook& English();
  // The 128 ten-bit codes whose check counts the zero data bits; the phasing pair of data 4
  // (newest) and 25.
  static const SoftCodeBook& Japanese();

  int Bits() const { return bits_; }
  int PairSpan() const { return 6 * bits_; }  // bits from the newest copy to the end of the first
  // The evidence of a pair read from bits of which every one is certain.
  double FullEvidence() const;

  // Readings of the pair that ends at the newest bit, for the bits as given ([0]) and inverted
  // ([1]). `logCosh` holds log(cosh(L/2)) of each soft value L, at the same indexes.
  // With `allowed`, only the characters it holds (and the phasing pair, unless `phasing` is
  // false) are chosen from.
  std::array<PairReading, 2> Read(std::span<const double> soft, std::span<const double> logCosh,
                                  const std::bitset<128>* allowed = nullptr,
                                  bool phasing = true) const;

 private:
  struct Word {
    int value;
    std::vector<double> signs;  // +1 for a 1 bit, in register order
  };

  SoftCodeBook(int bits, std::vector<Word> words, Word phasingNewest, Word phasingFirst);

  int bits_;
  bool english_;
  std::vector<Word> words_;
  Word phasingNewest_, phasingFirst_;
};

}  // namespace seaherald
