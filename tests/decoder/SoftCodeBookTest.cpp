// Reading a character pair from soft values as the likeliest valid code word.
#include "decoder/SoftCodeBook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <bitset>
#include <cmath>
#include <vector>

namespace seaherald {
namespace {

// Soft values of a Japanese pair whose two copies both carry `data`, in register order (newest
// bit first): three check bits counting the zero data bits, least significant first, then the
// data from its most significant bit on. `weak` bits get a small value, the others a large one.
std::vector<double> JapanesePair(int data, std::bitset<10> weak) {
  const int check = 7 - std::popcount(static_cast<unsigned>(data));
  std::vector<double> copy(10);
  for (int i = 0; i < 3; ++i)
    copy[i] = (check >> i & 1) != 0 ? 1.0 : -1.0;
  for (int j = 0; j < 7; ++j)
    copy[3 + j] = (data >> (6 - j) & 1) != 0 ? 1.0 : -1.0;
  for (int i = 0; i < 10; ++i)
    copy[i] *= weak.test(static_cast<std::size_t>(i)) ? 0.2 : 6.0;
  std::vector<double> soft(60, 0.0);
  std::copy(copy.begin(), copy.end(), soft.begin());
  std::copy(copy.begin(), copy.end(), soft.begin() + 50);
  return soft;
}

TEST(SoftCodeBook, AllowedValuesLimitTheChoiceButNotThePhasingPair) {
  const SoftCodeBook& book = SoftCodeBook::Japanese();
  // 0x29 leans weakly away from 0x21 in the two bits where they differ (data bit 3, check bit 0).
  const std::vector<double> soft = JapanesePair(0x29, std::bitset<10>{(1u << 0) | (1u << 6)});
  std::vector<double> logCosh(soft.size());
  for (std::size_t i = 0; i < soft.size(); ++i)
    logCosh[i] = std::log(std::cosh(soft[i] / 2));

  EXPECT_EQ(book.Read(soft, logCosh)[0].choice, 0x29);
  std::bitset<128> allowed;
  allowed.set();
  allowed.reset(0x29);
  const PairReading limited = book.Read(soft, logCosh, &allowed)[0];
  EXPECT_EQ(limited.choice, 0x21);
  EXPECT_GT(limited.margin, 0.0);

  // The phasing pair is always a candidate.
  std::vector<double> phasing = JapanesePair(4, {});
  const std::vector<double> first = JapanesePair(25, {});
  std::copy(first.begin() + 50, first.end(), phasing.begin() + 50);
  for (std::size_t i = 0; i < phasing.size(); ++i)
    logCosh[i] = std::log(std::cosh(phasing[i] / 2));
  allowed.reset();
  EXPECT_EQ(book.Read(phasing, logCosh, &allowed)[0].choice, PairReading::Phasing);
}

}  // namespace
}  // namespace seaherald
