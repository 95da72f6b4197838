#include "tests/decoder/ReferenceDemodulator.h"

#include <algorithm>
#include <cmath>

#include "decoder/DecoderFilters.h"

namespace seaherald::test {
namespace {

constexpr double TwoPi = 2 * 3.14159265358979323846;
constexpr double T = 1.0 / 4410.0;

template <std::size_t N>
double Filter(std::array<double, N>& line, const std::array<double, N>& c, double input) {
  std::copy_backward(line.begin(), line.end() - 1, line.end());
  line[0] = input;
  double sum = 0.0;
  for (std::size_t k = 0; k < N; ++k)
    sum += c[k] * line[k];
  return sum;
}

}  // namespace

void ReferenceDemodulator::Demodulate(std::span<const double, 4410> input, double centerFrequency) {
  bits.clear();
  bitErrorHz.clear();
  for (int i = 0; i < 4410; ++i) {
    const double out = Filter(decimationLine_, DecimationFilter(), input[i]);
    decimated[i / 10] = out;
  }
  resonatorPeak = 0;
  const double a1 = 1.9794529012190083;
  const double a2 = -0.9997150888802726;
  const double g = 1.419943179576268e-07;
  for (int j = 0; j < 441; ++j) {
    mixerPhase += (1500 - centerFrequency) * TwoPi * T;
    if (mixerPhase >= TwoPi) mixerPhase -= TwoPi;
    if (mixerPhase < 0) mixerPhase += TwoPi;
    double s = decimated[j] * std::cos(mixerPhase);
    displaySamples[j] = s;
    s = Filter(channelLine_, ChannelFilter(), s);
    const double q = Filter(hilbertLine_, HilbertFilter(), s);
    const double i = hilbertLine_[25];
    const double p = (i == 0 || q == 0) ? 0.0 : std::atan2(i, q);
    double d = lastPhase - p;  // the previous sample's phase, across blocks too
    if (d < 0) d += TwoPi;
    d -= 2.137137859584893;
    lastPhase = p;
    d = Filter(postLine_, PostDetectionFilter(), d);
    deviation[j] = d;
    const double y = g * -std::fabs(d) + a1 * y1_ + a2 * y2_;
    y2_ = y1_;
    y1_ = y;
    if (y > resonatorPeak) resonatorPeak = y;
    std::copy_backward(clockHistory_.begin(), clockHistory_.end() - 1, clockHistory_.end());
    clockHistory_[0] = y;
    const double level = clockHistory_[22] >= 0 ? 10 : -10;
    if (clockLevel_ < level) {
      const std::uint8_t bit = d >= 0 ? 1 : 0;
      bits.push_back(bit);
      bitErrorHz.push_back(bit ? d / (TwoPi * T) - 85 : d / (TwoPi * T) + 85);
    }
    clockLevel_ = level;
  }
  tuningOffset = 0;
  if (!bits.empty()) {
    double sum = 0;
    for (double e : bitErrorHz)
      sum += e;
    tuningOffset = sum / static_cast<double>(bits.size());
    if (resonatorPeak * 10000 <= 0.1) tuningOffset = 0;
  }
}

}  // namespace seaherald::test
