#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <span>

#include "decoder/BlockConstants.h"
#include "decoder/BlockFir.h"
#include "decoder/DecoderFilters.h"
#include "decoder/DemodulatorOutputs.h"
#include "decoder/NoiseBlanker.h"
#include "decoder/SanitisedDecimation.h"

namespace seaherald {

// The demodulator of the high-sensitivity path. Two tone correlators integrate over exactly one
// bit (non-coherent matched filters); a bit clock with a second-order loop follows a transmitter
// whose bit rate is off, and a frequency loop follows a mistuned signal. Each bit leaves a soft
// value: the log-likelihood ratio of the upper tone over the lower one, so that later stages can
// weigh every bit by how sure it is. The ratio scales with the station's amplitude at that bit,
// measured over the bits around it, so that a bit in a fade weighs little and its copy sent
// 350 ms later, faded or not, decides.
class SoftDemodulator {
 public:
  static constexpr double NominalSamplesPerBit = 44.1;  // at 4410 Hz, 100 baud
  static constexpr double ToneOffsetHz = 85.0;
  static constexpr double MaxFrequencyOffsetHz = 45.0;
  static constexpr int MaxBlockBits = 32;  // ten bits a block, and room for a fast clock

  SoftDemodulator();

  // Back to the state of a new receiver: nothing heard, on the set centre, nominal bit rate.
  void Reset();

  // Demodulates one block of raw 16-bit sample values (overwritten as working storage). The
  // display samples are left as the standard path leaves them: decimated and mixed to 1500 Hz.
  void Demodulate(std::span<double, BlockFrames> block, double centerFrequency,
                  DemodulatorOutputs& outputs);

  // After each block: whether the character decoder held sync through it. A clock that has held
  // sync for a while only follows the transmitter, with a narrower loop that noise moves less.
  void SetLocked(bool locked);

  // Positive: the upper tone (a 1 of the standard path's bit decisions). Each comes
  // `AmplitudeReach` bits after its bit was taken: the amplitude needs the bits on both sides.
  std::span<const double> SoftBits() const { return {softBits_.data(), softBitCount_}; }
  static constexpr int AmplitudeReach = 4;
  double FrequencyOffsetHz() const { return frequencyOffset_; }
  double SamplesPerBit() const { return samplesPerBit_; }

 private:
  static constexpr int HalfBit = 22;  // the two halves of a bit window, 44 samples in all
  static constexpr int HistoryLength = 64;

  struct Tone {
    std::complex<double> phasor{1.0, 0.0};
    std::complex<double> step{1.0, 0.0};
    std::array<std::complex<double>, HalfBit> inputs{};  // the last half bit, mixed to 0 Hz
    std::complex<double> halfSum{};
    std::array<std::complex<double>, HistoryLength> halfSums{};  // by sample index
  };

  void Decimate(std::span<double, BlockFrames> block);
  void MixForDisplay(std::span<const double, DecimatedBlockSamples> samples, double centre,
                     DemodulatorOutputs& outputs);
  void SetToneSteps(double centre);
  void Correlate(Tone& tone, double sample, std::int64_t index) const;
  std::complex<double> WholeBit(const Tone& tone, std::int64_t index) const;
  double EnvelopeDifference(std::int64_t index) const;
  void TakeBit(std::int64_t index, double centre);
  void TrackLevels(double strong, double noise);
  double SoftValue(double difference, double localNoise) const;
  void EmitWeighted(double difference, double localNoise, double strong);
  void TrackTiming(double difference, double soft);
  void TrackFrequency(std::int64_t index, double centre, double difference);

  DecimationFir decimation_;
  std::array<double, DecimatedBlockSamples> decimated_{};
  NoiseBlanker blanker_;
  double displayPhase_ = 0;

  Tone upper_, lower_, centre_;   // the centre correlator hears only noise: it gauges the noise
  std::int64_t sampleIndex_ = 0;  // decimated samples since the reset
  // Sample index at which the current bit window ends; the blanker's delay is counted in, so that
  // the bits fall where they would without it.
  double nextBitAt_ = NoiseBlanker::LookAhead;
  double samplesPerBit_ = NominalSamplesPerBit;
  int lockedBits_ = 0;
  bool midTaken_ = false;
  double midDifference_ = 0;
  double lastDifference_ = 0;
  double lastSoft_ = 0;
  double differencePower_ = 0;

  double strongPower_ = 0;  // running mean power of the stronger tone at the bit instants
  double noisePower_ = 0;   // running mean power of the centre correlator
  // The bits not yet weighed, newest last: envelope difference, noise and the stronger tone's
  // power of each.
  struct PendingBit {
    double difference, localNoise, strongPower;
  };
  static constexpr int AmplitudeWindow = 2 * AmplitudeReach + 1;
  std::array<PendingBit, AmplitudeWindow> pending_{};
  int pendingCount_ = 0;
  std::complex<double> frequencyError_{};  // mean phase turn between the halves of a bit
  double turnMagnitude_ = 0;               // mean size of a single turn
  std::array<bool, 2> previousUpper_{};    // the last two bits, newest first
  std::array<std::complex<double>, 2> previousTurns_{};  // of the last bit: upper, lower tone
  double frequencyOffset_ = 0;

  std::array<double, MaxBlockBits> softBits_{};
  std::size_t softBitCount_ = 0;
};

}  // namespace seaherald
