#include "decoder/JapanesePairing.h"

#include "decoder/CodeHandler.h"

namespace seaherald {
namespace {

// Pairs after which a lost pairing is no longer followed: fades of several seconds are bridged,
// while a gap long enough for a new transmission's phasing (ten seconds) never is.
constexpr int MaxPairsToBridge = 40;
// Bits the bit clock may have slipped by over such a gap, a few tenths of a percent off.
constexpr int SlipBits = 2;

// A character begins with a row that has characters (1 to 8, 16 to 84) and ends with any of the
// 94 places of a row.
std::bitset<128> JisValues(bool firstHalf) {
  std::bitset<128> values;
  for (int value = 0x21; value <= 0x7E; ++value) {
    const bool row = (value <= 0x28) || (value >= 0x30 && value <= 0x74);
    values.set(static_cast<std::size_t>(value), !firstHalf || row);
  }
  if (firstHalf) {
    values.set(CodeHandler::JapaneseLineFeed);
    values.set(CodeHandler::JapaneseCarriageReturn);
  }
  return values;
}

}  // namespace

bool JapanesePairing::IsControl(int value) {
  return value == CodeHandler::JapaneseLineFeed || value == CodeHandler::JapaneseCarriageReturn ||
         value == CodeHandler::JapanesePhasing1 || value == CodeHandler::JapanesePhasing2;
}

const std::bitset<128>& JapanesePairing::Allowed(bool firstHalf) {
  static const std::bitset<128> firstHalves = JisValues(true);
  static const std::bitset<128> secondHalves = JisValues(false);
  return firstHalf ? firstHalves : secondHalves;
}

// The code handler's own rule: a control or phasing value ends any character begun, another
// value begins or completes one.
bool JapanesePairing::NextIsFirstHalf(int waiting, std::span<const PairReading> held) {
  int count = waiting;
  for (const PairReading& reading : held) {
    if (reading.choice == PairReading::Phasing || IsControl(reading.choice)) {
      count = 0;
    } else {
      count = count == 0 ? 1 : 0;
    }
  }
  return count == 0;
}

void JapanesePairing::Lost(std::int64_t atBit, int hypothesis, int waiting) {
  lostAtBit_ = atBit;
  lostHypothesis_ = hypothesis;
  lostWaiting_ = waiting;
}

bool JapanesePairing::SecondHalfOfLostPair(int hypothesis, std::int64_t atBit, int pairBits) const {
  if (lostAtBit_ < 0 || hypothesis != lostHypothesis_) return false;
  const std::int64_t elapsed = atBit - lostAtBit_;
  const std::int64_t pairs = (elapsed + pairBits / 2) / pairBits;
  const std::int64_t slip = elapsed - pairs * pairBits;
  if (elapsed < 0 || slip > SlipBits || slip < -SlipBits || pairs > MaxPairsToBridge) return false;
  return (lostWaiting_ + pairs) % 2 == 1;
}

}  // namespace seaherald
