#include "tests/support/FskModulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace seaherald::testsignal {

FskModulator::FskModulator(const FskParameters& parameters)
    : parameters_(parameters),
      bitsPerSample_(NominalBaud * (1.0 + parameters.rateError) / parameters.sampleRate) {
  const double lowest = parameters.centerHz + parameters.offsetHz - ToneShiftHz;
  const double highest = parameters.centerHz + parameters.offsetHz + ToneShiftHz;
  if (parameters.sampleRate < 1000) throw std::invalid_argument("sample rate too low");
  if (lowest <= 0.0 || highest >= parameters.sampleRate / 2.0) {
    throw std::invalid_argument("FSK tones outside the audio band");
  }
  if (parameters.rateError <= -0.5 || parameters.rateError >= 0.5) {
    throw std::invalid_argument("bit rate error out of range");
  }
}

void FskModulator::AppendBits(std::span<const std::uint8_t> toneBits, std::vector<double>& out,
                              std::vector<double>* quadrature) {
  constexpr double TwoPi = 2.0 * std::numbers::pi;
  for (const std::uint8_t bit : toneBits) {
    const double shift = bit != 0 ? ToneShiftHz : -ToneShiftHz;
    const double step =
        TwoPi * (parameters_.centerHz + parameters_.offsetHz + shift) / parameters_.sampleRate;
    while (bitProgress_ < 1.0) {
      out.push_back(parameters_.amplitude * std::sin(phase_));
      if (quadrature != nullptr) quadrature->push_back(-parameters_.amplitude * std::cos(phase_));
      phase_ = std::fmod(phase_ + step, TwoPi);
      bitProgress_ += bitsPerSample_;
    }
    bitProgress_ -= 1.0;
  }
}

void FskModulator::AppendSilence(double seconds, std::vector<double>& out,
                                 std::vector<double>* quadrature) {
  const auto samples =
      static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * parameters_.sampleRate));
  out.insert(out.end(), samples, 0.0);
  if (quadrature != nullptr) quadrature->insert(quadrature->end(), samples, 0.0);
}

}  // namespace seaherald::testsignal
