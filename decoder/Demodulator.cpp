#include "decoder/Demodulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "decoder/SanitisedDecimation.h"

#include "decoder/HilbertPhase.h"

namespace seaherald {
namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr int HilbertDelay = (HilbertFilterTaps - 1) / 2;
constexpr double SignalPresentPeak = 0.1;  // resonator peak x 10000 must exceed this
constexpr double PeakScale = 10000.0;

double DeviationHz(double deviation) {
  return deviation / (TwoPi * Demodulator::SamplePeriod);
}

}  // namespace

Demodulator::Demodulator()
    : decimation_(DecimationFilter()),
      channel_(ChannelFilter()),
      hilbert_(HilbertFilter()),
      postDetection_(PostDetectionFilter()) {}

void Demodulator::Demodulate(std::span<double, BlockFrames> block, const double& centerFrequency,
                             DemodulatorOutputs& outputs) {
  blockBitCount_ = 0;
  Decimate(block);
  outputs.ResonatorPeak = 0;
  Mix(block, centerFrequency, outputs);
  MeasureDeviation();
  SampleBits(outputs);
  SetTuningOffset(outputs);
}

void Demodulator::Decimate(std::span<double, BlockFrames> block) {
  DecimateSanitised(decimation_, block, block.first<DecimatedBlockSamples>());
}

void Demodulator::Mix(std::span<double, BlockFrames> block, const double& centerFrequency,
                      DemodulatorOutputs& outputs) {
  std::span<double, DecimatedBlockSamples> mixed = channel_.NextInput();
  for (int j = 0; j < DecimatedBlockSamples; ++j) {
    mixerPhase_ += (ShiftedCentreHz - centerFrequency) * TwoPi * SamplePeriod;
    if (mixerPhase_ >= TwoPi) mixerPhase_ -= TwoPi;
    // Only a centre above 1500 Hz turns the phase backwards; keep it bounded then as well.
    if (mixerPhase_ < 0) mixerPhase_ += TwoPi;
    const double s = block[j] * std::cos(mixerPhase_);
    outputs.DisplaySamples[j] = s;
    mixed[j] = s;
  }
}

void Demodulator::MeasureDeviation() {
  channel_.Run(hilbert_.NextInput());
  Block quadrature;
  hilbert_.Run(quadrature);
  std::span<double, DecimatedBlockSamples> rawDeviation = postDetection_.NextInput();
  double previous = lastPhase_;
  for (int j = 0; j < DecimatedBlockSamples; ++j) {
    const double phase = HilbertPhase(hilbert_.Line(j, HilbertDelay), quadrature[j]);
    rawDeviation[j] = PhaseDeviation(previous, phase);
    previous = phase;
  }
  lastPhase_ = previous;
  postDetection_.Run(deviation_);
}

void Demodulator::SampleBits(DemodulatorOutputs& outputs) {
  for (int j = 0; j < DecimatedBlockSamples; ++j) {
    const double d = deviation_[j];
    const bool sampleNow = clock_.Step(d);
    outputs.ResonatorPeak = std::max(outputs.ResonatorPeak, clock_.LastOutput());
    if (!sampleNow) continue;
    const bool one = d >= 0;
    blockBits_[blockBitCount_] = one ? 1 : 0;
    bitErrorHz_[blockBitCount_] =
        one ? DeviationHz(d) - ToneOffsetHz : DeviationHz(d) + ToneOffsetHz;
    ++blockBitCount_;
  }
}

void Demodulator::SetTuningOffset(DemodulatorOutputs& outputs) const {
  double offset = 0;
  if (blockBitCount_ >= 1) {
    double sum = 0;
    for (double error : BitErrorHz())
      sum += error;
    offset = sum / blockBitCount_;
    if (outputs.ResonatorPeak * PeakScale <= SignalPresentPeak) offset = 0;
  }
  outputs.TuningOffset = offset;
}

}  // namespace seaherald
