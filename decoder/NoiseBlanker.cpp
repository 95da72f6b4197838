#include "decoder/NoiseBlanker.h"

#include <algorithm>
#include <utility>

namespace seaherald {
namespace {

// Eight times the mean power: noise alone exceeds it over eight samples about once a month (a
// few samples lost), and the peaks of a Rayleigh-faded station over its half-second mean hardly
// ever.
constexpr double LoudRatio = 8.0;
// The mean power's memory: half a second at 4410 samples a second.
constexpr int MeanSamples = 2205;
// Samples blanked after the last loud one: the decimation filter's ringing and the burst's tail.
constexpr int HangSamples = 8;
// Below this mean power (16-bit units squared) the input is digital silence or nearly so: a
// station or noise starting from silence is not a burst, and the mean starts afresh.
constexpr double SilencePower = 4.0;
// Samples heard before anything is judged loud: the mean of fewer is too uncertain.
constexpr int WarmUpSamples = 16;
// Static crashes last up to about 20 ms; a level that stays loud for longer is a station starting
// or a fade ending, and becomes the mean at once.
constexpr int LongestBurstSamples = 132;

}  // namespace

bool NoiseBlanker::Loud(double shortPower) const {
  return heard_ >= WarmUpSamples && shortPower > LoudRatio * meanPower_;
}

// The mean takes a loud sample only up to the threshold, so that a burst lifts it a little. After
// silence it starts as the plain mean of what has been heard since.
void NoiseBlanker::Follow(double power) {
  if (meanPower_ < SilencePower) heard_ = 0;
  heard_ = std::min(heard_ + 1, MeanSamples);
  const double bounded = heard_ < WarmUpSamples ? power : std::min(power, LoudRatio * meanPower_);
  const double weight = 1.0 / heard_;
  meanPower_ += weight * (bounded - meanPower_);
}

void NoiseBlanker::Process(std::span<double> samples) {
  for (double& sample : samples) {
    const double power = sample * sample;
    powers_[static_cast<std::size_t>(next_ % ShortWindow)] = power;
    const double delayed =
        std::exchange(delay_[static_cast<std::size_t>(next_ % LookAhead)], sample);
    next_ = (next_ + 1) % (ShortWindow * LookAhead);
    double shortSum = 0;
    for (const double p : powers_)
      shortSum += p;
    const double shortPower = shortSum / ShortWindow;
    loudRun_ = Loud(shortPower) ? loudRun_ + 1 : 0;
    if (loudRun_ > LongestBurstSamples) {
      meanPower_ = shortPower;
      loudRun_ = 0;
    }
    if (loudRun_ > 0) blankedOutputs_ = LookAhead + 1 + HangSamples;
    Follow(power);
    sample = blankedOutputs_ > 0 ? 0.0 : delayed;
    if (blankedOutputs_ > 0) --blankedOutputs_;
  }
}

}  // namespace seaherald
