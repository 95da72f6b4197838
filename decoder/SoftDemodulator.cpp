#include "decoder/SoftDemodulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "decoder/SanitisedDecimation.h"

namespace seaherald {
namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr double SampleRate = 4410.0;
constexpr double ShiftedCentreHz = 1500.0;  // where the display mixer puts the centre

// Bit clock: share of a measured timing error corrected at once, and share that goes into the
// bit period, so that a rate error leaves no lasting timing error.
constexpr double TimingGain = 0.1;
constexpr double RateGain = 0.0005;
// Once sync has held this long the loop narrows.
constexpr int AcquisitionBits = 400;
constexpr double TrackingTimingGain = 0.07;
constexpr double TrackingRateGain = 0.0002;
constexpr double MaxRateError = 0.01;
// Frequency loop: averaging of the phase turn between bit halves, and the share of the measured
// error corrected per bit.
constexpr double FrequencyAveraging = 1.0 / 16;
constexpr double FrequencyGain = 1.0 / 32;
// Levels follow fades within a third of a second; a single crash of static may lift them by no
// more than a bounded step.
constexpr double LevelAveraging = 1.0 / 32;
// The stronger tone's level falls faster than it rises: when a station stops, the soft values of
// the noise that follows must shrink before it is read as characters.
constexpr double FallAveraging = 1.0 / 8;
constexpr double LevelStepLimit = 8.0;
constexpr double LevelFloor = 1.0;
// The stronger tone of pure noise averages 1.5 times the noise power of one correlator.
constexpr double NoiseOnlyStrongRatio = 1.5;
// A bit whose centre correlator shows this much more than the usual noise was hit by a burst:
// its own noise counts, so it weighs less.
constexpr double BurstRatio = 4.0;
// The least amplitude a station is given, as a share of the noise power: noise alone then
// leaves soft values close to zero.
constexpr double MinSignalShare = 0.02;

double Averaged(double average, double value, double falling = LevelAveraging) {
  if (average < LevelFloor) return std::max(value, LevelFloor);
  const double bounded = std::min(value, LevelStepLimit * average);
  return average + (bounded < average ? falling : LevelAveraging) * (bounded - average);
}

std::size_t Slot(std::int64_t index, int length) {
  return static_cast<std::size_t>(index % length);
}

}  // namespace

SoftDemodulator::SoftDemodulator() : decimation_(DecimationFilter()) {}

void SoftDemodulator::SetLocked(bool locked) {
  lockedBits_ = locked ? lockedBits_ + static_cast<int>(softBitCount_) : 0;
}

void SoftDemodulator::Reset() {
  *this = SoftDemodulator();
}

void SoftDemodulator::Demodulate(std::span<double, BlockFrames> block, double centerFrequency,
                                 DemodulatorOutputs& outputs) {
  softBitCount_ = 0;
  Decimate(block);
  MixForDisplay(decimated_, centerFrequency, outputs);
  // After the display's copy is taken: the spectrum shows the bursts as they came.
  blanker_.Process(decimated_);
  for (Tone* tone : {&upper_, &lower_, &centre_}) {
    // Rounding would slowly change the phasor's length and the running sum's value.
    tone->phasor /= std::abs(tone->phasor);
    tone->halfSum = {};
    for (const std::complex<double>& input : tone->inputs)
      tone->halfSum += input;
  }
  SetToneSteps(centerFrequency);
  for (const double sample : decimated_) {
    const std::int64_t index = sampleIndex_++;
    Correlate(upper_, sample, index);
    Correlate(lower_, sample, index);
    Correlate(centre_, sample, index);
    if (!midTaken_ && static_cast<double>(index) + 0.5 >= nextBitAt_ - samplesPerBit_ / 2) {
      midDifference_ = EnvelopeDifference(index);
      midTaken_ = true;
    }
    if (static_cast<double>(index) + 0.5 >= nextBitAt_) TakeBit(index, centerFrequency);
  }
  outputs.ResonatorPeak = 0;
}

void SoftDemodulator::Decimate(std::span<double, BlockFrames> block) {
  DecimateSanitised(decimation_, block, decimated_);
}

// The same picture as the standard path draws: the centre moved to 1500 Hz.
void SoftDemodulator::MixForDisplay(std::span<const double, DecimatedBlockSamples> samples,
                                    double centre, DemodulatorOutputs& outputs) {
  const double step = (ShiftedCentreHz - centre) * TwoPi / SampleRate;
  for (int j = 0; j < DecimatedBlockSamples; ++j) {
    displayPhase_ += step;
    if (displayPhase_ >= TwoPi) displayPhase_ -= TwoPi;
    if (displayPhase_ < 0) displayPhase_ += TwoPi;
    outputs.DisplaySamples[j] = samples[j] * std::cos(displayPhase_);
  }
}

void SoftDemodulator::SetToneSteps(double centre) {
  const double tuned = centre + frequencyOffset_;
  const auto stepFor = [](double hz) { return std::polar(1.0, -TwoPi * hz / SampleRate); };
  upper_.step = stepFor(tuned + ToneOffsetHz);
  lower_.step = stepFor(tuned - ToneOffsetHz);
  centre_.step = stepFor(tuned);
}

// Mixes the sample down by the tone's frequency and keeps the sum over the last half bit.
void SoftDemodulator::Correlate(Tone& tone, double sample, std::int64_t index) const {
  const std::complex<double> mixed = sample * tone.phasor;
  tone.phasor *= tone.step;
  std::complex<double>& oldest = tone.inputs[Slot(index, HalfBit)];
  tone.halfSum += mixed - oldest;
  oldest = mixed;
  tone.halfSums[Slot(index, HistoryLength)] = tone.halfSum;
}

// The correlation over the 44 samples that end at `index`.
std::complex<double> SoftDemodulator::WholeBit(const Tone& tone, std::int64_t index) const {
  return tone.halfSums[Slot(index, HistoryLength)] +
         tone.halfSums[Slot(index + HistoryLength - HalfBit, HistoryLength)];
}

double SoftDemodulator::EnvelopeDifference(std::int64_t index) const {
  return std::abs(WholeBit(upper_, index)) - std::abs(WholeBit(lower_, index));
}

void SoftDemodulator::TakeBit(std::int64_t index, double centre) {
  const double upper = std::abs(WholeBit(upper_, index));
  const double lower = std::abs(WholeBit(lower_, index));
  const double strong = std::max(upper, lower);
  const double centreNoise = std::norm(WholeBit(centre_, index));
  TrackLevels(strong * strong, centreNoise);
  const double difference = upper - lower;
  const double localNoise = std::max(noisePower_, centreNoise / BurstRatio);
  const double soft = SoftValue(difference, localNoise);
  EmitWeighted(difference, localNoise, strong * strong);
  TrackTiming(difference, soft);
  TrackFrequency(index, centre, difference);
  midTaken_ = false;
}

void SoftDemodulator::TrackLevels(double strong, double noise) {
  strongPower_ = Averaged(strongPower_, strong, FallAveraging);
  noisePower_ = Averaged(noisePower_, noise);
}

// The soft value of the bit `AmplitudeReach` bits back, weighed by the station's amplitude over
// the bits on either side of it: fading of 2 Hz changes the amplitude within about ten bits,
// faster than the running levels follow.
void SoftDemodulator::EmitWeighted(double difference, double localNoise, double strong) {
  if (pendingCount_ == AmplitudeWindow) {
    std::rotate(pending_.begin(), pending_.begin() + 1, pending_.end());
    --pendingCount_;
  }
  pending_[static_cast<std::size_t>(pendingCount_++)] = {difference, localNoise, strong};
  if (pendingCount_ <= AmplitudeReach || softBitCount_ >= softBits_.size()) return;
  const int centre = pendingCount_ - 1 - AmplitudeReach;
  const double noise = std::max(noisePower_, LevelFloor);
  double beyondNoise = 0;
  for (int i = 0; i < pendingCount_; ++i)
    beyondNoise += std::max(
        pending_[static_cast<std::size_t>(i)].strongPower - NoiseOnlyStrongRatio * noise, 0.0);
  const double signalPower = std::max(beyondNoise / pendingCount_, MinSignalShare * noise);
  const PendingBit& bit = pending_[static_cast<std::size_t>(centre)];
  const double value =
      2 * std::sqrt(signalPower) * bit.difference / std::max(bit.localNoise, LevelFloor);
  const double limit = 3 * signalPower / noise;
  softBits_[softBitCount_++] = std::clamp(value, -limit, limit);
}

// Log-likelihood ratio of the upper tone over the lower one for envelopes that differ by
// `difference`: 2 A (r_upper - r_lower) / N for a tone of amplitude A in noise of power N, the
// large-signal form of the ratio of the two Bessel-function likelihoods. The amplitude is what
// the stronger tone holds beyond what noise alone would give it. This running form only steers
// the bit clock.
double SoftDemodulator::SoftValue(double difference, double localNoise) const {
  const double noise = std::max(noisePower_, LevelFloor);
  const double signalPower =
      std::max(strongPower_ - NoiseOnlyStrongRatio * noise, MinSignalShare * noise);
  const double value = 2 * std::sqrt(signalPower) * difference / std::max(localNoise, LevelFloor);
  const double limit = 3 * signalPower / noise;
  return std::clamp(value, -limit, limit);
}

// Gardner's detector on the envelope difference: halfway between two bits of opposite value the
// difference crosses zero; its sign there tells whether the clock runs late or early.
void SoftDemodulator::TrackTiming(double difference, double soft) {
  differencePower_ =
      differencePower_ == 0
          ? difference * difference
          : differencePower_ + LevelAveraging * (difference * difference - differencePower_);
  double error = 0;
  const bool change = (difference >= 0) != (lastDifference_ >= 0);
  if (change && differencePower_ > 0) {
    // Only a change of tone says anything about the clock; the decisions on either side are
    // far surer than the value halfway between them, so their signs alone are used.
    const double direction = lastDifference_ >= 0 ? 1.0 : -1.0;
    // A change seen where there was none (a wrong decision) pulls the clock anywhere; weigh
    // each change by how sure both decisions are.
    const double sure = std::tanh(std::abs(soft) / 2) * std::tanh(std::abs(lastSoft_) / 2);
    error = sure * std::clamp(direction * midDifference_ / std::sqrt(differencePower_), -2.0, 2.0);
  }
  lastDifference_ = difference;
  lastSoft_ = soft;
  const double halfBit = samplesPerBit_ / 2;
  const bool tracking = lockedBits_ >= AcquisitionBits;
  nextBitAt_ += samplesPerBit_ + (tracking ? TrackingTimingGain : TimingGain) * error * halfBit;
  samplesPerBit_ = std::clamp(
      samplesPerBit_ + (tracking ? TrackingRateGain : RateGain) * error * halfBit,
      NominalSamplesPerBit * (1 - MaxRateError), NominalSamplesPerBit * (1 + MaxRateError));
}

// The phase turn from the first half of a bit to the second measures how far its tone lies from
// where it is expected. Only a bit between two of the same value is used, one bit late: its window
// then holds one tone alone however the clock stands, while a window across a change of tone
// would hold a different tone in each half and point the loop astray.
void SoftDemodulator::TrackFrequency(std::int64_t index, double centre, double difference) {
  const auto turn = [&](const Tone& tone) {
    const std::complex<double> second = tone.halfSums[Slot(index, HistoryLength)];
    const std::complex<double> first =
        tone.halfSums[Slot(index + HistoryLength - HalfBit, HistoryLength)];
    const double power = std::norm(first) + std::norm(second);
    return power > 0 ? second * std::conj(first) / power : std::complex<double>{};
  };
  const bool upper = difference >= 0;
  const bool steady = upper == previousUpper_[0] && upper == previousUpper_[1];
  const std::complex<double> previousTurn = previousTurns_[previousUpper_[0] ? 0 : 1];
  previousUpper_ = {upper, previousUpper_[0]};
  previousTurns_ = {turn(upper_), turn(lower_)};
  if (!steady) return;
  const std::complex<double> measured = previousTurn;
  frequencyError_ += FrequencyAveraging * (measured - frequencyError_);
  turnMagnitude_ += FrequencyAveraging * (std::abs(measured) - turnMagnitude_);
  if (std::abs(frequencyError_) == 0 || turnMagnitude_ == 0) return;
  // Turns of a steady tone add up; those of noise point anywhere and mostly cancel. How much of
  // their size survives the averaging says how far to trust the mean turn.
  const double coherence = std::abs(frequencyError_) / turnMagnitude_;
  const double errorHz = std::arg(frequencyError_) * SampleRate / (TwoPi * HalfBit);
  frequencyOffset_ = std::clamp(frequencyOffset_ + FrequencyGain * coherence * coherence * errorHz,
                                -MaxFrequencyOffsetHz, MaxFrequencyOffsetHz);
  SetToneSteps(centre);
}

}  // namespace seaherald
