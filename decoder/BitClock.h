#pragma once

#include <array>

namespace seaherald {

// The 100 Hz bit clock: a narrow two-pole resonator driven by the rectified frequency deviation,
// which peaks at every mark/space transition. It rings on through runs without transitions and
// through short fades. Each rising zero crossing of its output, taken 22 samples late (half a bit
// of 44.1 samples), is a sampling instant. It is not a phase-locked loop; the tap never moves.
class BitClock {
 public:
  static constexpr int HistoryLength = 128;
  static constexpr int Tap = 22;

  // Resonator coefficients for the 4410 Hz rate: y = g * input + a1 * y1 + a2 * y2.
  static double A1();
  static double A2();
  static double Gain();

  BitClock();

  // Feeds one filtered deviation (rad/sample). Returns true when a bit is to be sampled now.
  bool Step(double deviation);

  double LastOutput() const { return y1_; }
  double Level() const { return level_; }  // +10, -10, or 0 before the first sample

 private:
  double a1_, a2_, gain_;
  double y1_ = 0, y2_ = 0;
  std::array<double, HistoryLength> history_{};  // ring; newest at newest_
  int newest_ = 0;
  double level_ = 0;
};

}  // namespace seaherald
