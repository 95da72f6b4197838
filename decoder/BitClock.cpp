#include "decoder/BitClock.h"

#include <cmath>
#include <numbers>

namespace seaherald {
namespace {

constexpr double Period = 1.0 / 4410.0;  // s per decimated sample
constexpr double CentreHz = 100.0;
constexpr double BandwidthHz = 0.2;
constexpr double InputGain = 1e-6;
constexpr double HighLevel = 10.0;
constexpr double LowLevel = -10.0;

}  // namespace

double BitClock::A1() {
  using std::numbers::pi;
  return 2 * std::exp(-pi * BandwidthHz * Period) * std::cos(2 * pi * CentreHz * Period);
}

double BitClock::A2() {
  return -std::exp(-2 * std::numbers::pi * BandwidthHz * Period);
}

double BitClock::Gain() {
  return InputGain * std::sin(2 * std::numbers::pi * CentreHz * Period);
}

BitClock::BitClock() : a1_(A1()), a2_(A2()), gain_(Gain()) {}

bool BitClock::Step(double deviation) {
  const double y = gain_ * -std::fabs(deviation) + a1_ * y1_ + a2_ * y2_;
  y2_ = y1_;
  y1_ = y;
  newest_ = (newest_ + HistoryLength - 1) % HistoryLength;
  history_[newest_] = y;
  const double level = history_[(newest_ + Tap) % HistoryLength] >= 0 ? HighLevel : LowLevel;
  const bool rising = level_ < level;
  level_ = level;
  return rising;
}

}  // namespace seaherald
