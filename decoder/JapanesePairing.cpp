#include "decoder/JapanesePairing.h"

#include "decoder/CodeHandler.h"

namespace seaherald {
namespace {

// Pairs after which a lost pairing is no longer followed.
constexpr int MaxPairsToBridge = 16;

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
  if (elapsed % pairBits != 0 || elapsed > MaxPairsToBridge * pairBits) return false;
  return (lostWaiting_ + elapsed / pairBits) % 2 == 1;
}

}  // namespace seaherald
