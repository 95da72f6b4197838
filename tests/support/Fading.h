#pragma once

#include <span>

#include "tests/support/FskModulator.h"

namespace seaherald::testsignal {

// Slow flat fading of the received signal, as skywave propagation gives it: the signal's level in
// dB follows a cosine between its peak and `depthDb` below it, once every `periodSeconds`. The
// gain is scaled so that its mean power over a period is one, so a faded signal keeps the mean
// power, and with it the SNR, of the unfaded one (the peak lies some dB above the mean, the
// trough further below it).
struct FadingParameters {
  double depthDb = 15.0;
  double periodSeconds = 10.0;
  double startPhase = 0.0;  // fraction of a period at the first sample, from 0 to 1
};

class Fading {
 public:
  // Throws std::invalid_argument for a negative depth or a period that is not positive.
  explicit Fading(const FadingParameters& parameters, int sampleRate = SignalSampleRate);

  // Amplitude gain at `seconds` from the first sample.
  double GainAt(double seconds) const;
  // Multiplies each sample by the gain at its time.
  void Apply(std::span<double> samples) const;

  double PeakGain() const;    // gain at the top of the fade
  double TroughGain() const;  // gain at the bottom of the fade

 private:
  double GainForPhase(double cosine) const;

  FadingParameters parameters_;
  int sampleRate_;
  double meanPowerScale_ = 1.0;  // amplitude factor that brings the mean power to one
};

}  // namespace seaherald::testsignal
