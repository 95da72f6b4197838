#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace seaherald::testsignal {

inline constexpr int SignalSampleRate = 44100;
inline constexpr double ToneShiftHz = 85.0;  // each tone lies this far from the centre
inline constexpr double NominalBaud = 100.0;

struct FskParameters {
  double centerHz = 800.0;
  double offsetHz = 0.0;   // both tones moved by this much, as a mistuned receiver does
  double rateError = 0.0;  // relative bit rate error: +0.003 sends 100.3 baud
  double amplitude = 10000.0;
  int sampleRate =
      SignalSampleRate;  // the receiver's rate unless a test needs a recording at another
};

// Continuous-phase FSK (at 44 100 Hz unless told otherwise): the carrier phase runs on across bit
// boundaries, silences and calls, and bit boundaries fall wherever the (possibly mistimed) bit
// clock puts them.
class FskModulator {
 public:
  explicit FskModulator(const FskParameters& parameters);

  // Tone bits: 1 = upper tone (centre + 85 Hz), 0 = lower tone. With `quadrature`, the signal's
  // Hilbert transform goes there sample for sample (-A cos where the signal is A sin), so that a
  // channel can act on the analytic signal.
  void AppendBits(std::span<const std::uint8_t> toneBits, std::vector<double>& out,
                  std::vector<double>* quadrature = nullptr);
  void AppendSilence(double seconds, std::vector<double>& out,
                     std::vector<double>* quadrature = nullptr);

 private:
  FskParameters parameters_;
  double bitsPerSample_;
  double phase_ = 0.0;        // radians
  double bitProgress_ = 0.0;  // fraction of the current bit already sent
};

}  // namespace seaherald::testsignal
