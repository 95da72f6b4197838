#include "tests/decoder/FskTestSignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace seaherald::test {
namespace {

constexpr double Rate = 44100.0;
constexpr int SamplesPerBit = 441;

double Quantised(double value) {
  return std::clamp(std::round(value), -32768.0, 32767.0);
}

}  // namespace

std::vector<double> FskAudio(const Bits& bits, const FskOptions& options) {
  std::mt19937 random(options.seed);
  std::normal_distribution<double> noise(0.0, options.noiseStdDev > 0 ? options.noiseStdDev : 1.0);
  std::vector<double> samples;
  samples.reserve(bits.size() * SamplesPerBit + static_cast<std::size_t>(options.leadInSamples));
  double phase = 0;
  auto emit = [&](std::uint8_t bit, int count) {
    const double hz = options.centerHz + options.offsetHz + (bit ? 85.0 : -85.0);
    for (int i = 0; i < count; ++i) {
      phase = std::fmod(phase + 2 * std::numbers::pi * hz / Rate, 2 * std::numbers::pi);
      double value = options.amplitude * std::sin(phase);
      if (options.noiseStdDev > 0) value += noise(random);
      samples.push_back(Quantised(value));
    }
  };
  if (!bits.empty()) emit(bits.front(), options.leadInSamples);
  for (std::uint8_t bit : bits)
    emit(bit, SamplesPerBit);
  return samples;
}

std::vector<double> ToneAudio(double hz, int samples, double amplitude, double phase) {
  std::vector<double> audio(static_cast<std::size_t>(samples));
  for (int i = 0; i < samples; ++i) {
    audio[i] = Quantised(amplitude * std::sin(phase + 2 * std::numbers::pi * hz * i / Rate));
  }
  return audio;
}

}  // namespace seaherald::test
