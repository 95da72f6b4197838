#pragma once

#include <array>
#include <span>

namespace seaherald {

// A short burst of static many times louder than station and noise together carries nothing a
// correlator can use, yet a burst that straddles two bits is seen by each only in part and can
// outvote the clean copy of its character. Its samples are set to zero instead: a bit that loses
// part of its window to a burst then weighs only by the signal left in it. Loudness is judged
// against the mean power of the last half second; what stays loud for longer than a burst lasts
// is a new level (a station starting, a fade ending) and is taken as the mean.
class NoiseBlanker {
 public:
  // Samples are delayed by this many, so that a burst is blanked from its first sample on,
  // before the short mean has risen.
  static constexpr int LookAhead = 6;

  // Blanks in place; the output is the input `LookAhead` samples late.
  void Process(std::span<double> samples);

 private:
  static constexpr int ShortWindow = 8;  // samples whose mean power is judged, about 2 ms

  bool Loud(double shortPower) const;
  void Follow(double power);

  std::array<double, LookAhead> delay_{};
  std::array<double, ShortWindow> powers_{};
  int next_ = 0;  // position in both rings
  double meanPower_ = 0;
  int heard_ = 0;           // samples since silence, up to the mean's memory
  int loudRun_ = 0;         // loud samples in a row
  int blankedOutputs_ = 0;  // outputs still to be blanked
};

}  // namespace seaherald
