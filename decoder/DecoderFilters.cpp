#include "decoder/DecoderFilters.h"

#include <algorithm>
#include <cmath>

#include "decoder/FirDesign.h"

namespace seaherald {
namespace {

constexpr double DecimatedRate = 4410.0;

// Kaiser betas for 60 dB and 19 dB of stop-band attenuation.
double DecimationBeta() {
  return 0.1102 * (60 - 8.7);
}
double NarrowBeta() {
  return 0.5842 * std::pow(19.0, 0.4) + 0.07886 * 19;
}

template <std::size_t N>
std::array<double, N> ToArray(const std::vector<double>& values) {
  std::array<double, N> result{};
  std::copy_n(values.begin(), N, result.begin());
  return result;
}

HilbertCoefficients MakeHilbert() {
  // v(m) for odd m = 1, 3, ..., 25: c[25 + m] = +v(m), c[25 - m] = -v(m); even offsets are zero.
  constexpr std::array<double, 13> odd = {0.635259354,  0.208151942,  0.120653981,  0.0817888932,
                                          0.059265658,  0.0443046879, 0.0335463929, 0.0254322311,
                                          0.0191400206, 0.0141916824, 0.0102853949, 0.00721576583,
                                          0.00831235503};
  HilbertCoefficients c{};
  for (int i = 0; i < 13; ++i) {
    const int m = 2 * i + 1;
    c[25 + m] = odd[i];
    c[25 - m] = -odd[i];
  }
  return c;
}

}  // namespace

const DecimationCoefficients& DecimationFilter() {
  static const DecimationCoefficients c = ToArray<DecimationFilterTaps>(
      KaiserLowPass(DecimationFilterTaps, 2200, 44100, DecimationBeta()));
  return c;
}

const ChannelCoefficients& ChannelFilter() {
  static const ChannelCoefficients c = ToArray<ChannelFilterTaps>(
      KaiserBandPass(ChannelFilterTaps, 1400, 1600, DecimatedRate, NarrowBeta()));
  return c;
}

const HilbertCoefficients& HilbertFilter() {
  static const HilbertCoefficients c = MakeHilbert();
  return c;
}

const PostDetectionCoefficients& PostDetectionFilter() {
  static const PostDetectionCoefficients c = ToArray<PostDetectionFilterTaps>(
      KaiserLowPass(PostDetectionFilterTaps, 65, DecimatedRate, NarrowBeta()));
  return c;
}

}  // namespace seaherald
