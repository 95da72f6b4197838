#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace seaherald {

// A direct-form FIR filter that runs a whole block at once. Each output is
//   sum = 0; for k = 0 .. Taps-1: sum += c[k] * line[k]
// with line[0] the newest input, in exactly this order, so its results are those of a delay line
// shifted sample by sample. Only the evaluation differs:
// - the inputs of a block follow the last Taps-1 inputs of the previous one in a linear buffer,
//   so nothing shifts per sample;
// - with Step > 1 the filter is evaluated only at the last input of every group of Step (the kept
//   samples of a decimator), reading the inputs split into Step phases so that neighbouring
//   outputs read neighbouring values;
// - several outputs are summed side by side, which hides the latency of the additions and lets
//   the compiler use vector instructions, without changing the order within any one sum;
// - taps whose coefficient is exactly zero are left out. For finite inputs such a product is +0 or
//   -0, and adding a signed zero leaves every non-zero partial sum unchanged, so only the sign of
//   an output that is exactly zero can differ. Callers must not depend on that sign.
template <int Taps, int Inputs, int Step = 1>
class BlockFir {
 public:
  static_assert(Taps > 0 && Step > 0 && Inputs % Step == 0);
  static constexpr int Outputs = Inputs / Step;

  explicit BlockFir(const std::array<double, Taps>& coefficients) : coefficients_(coefficients) {
    for (int k = 0; k < Taps; ++k) {
      if (coefficients[k] == 0.0) continue;
      activeTaps_[activeCount_] = k;
      tapOffsets_[activeCount_] = FirstLineOffset(k);
      ++activeCount_;
    }
  }

  // Where the caller writes the next block of inputs. Calling it moves the newest Taps-1 inputs
  // of the previous block in front, so the previous block's line values are gone afterwards.
  std::span<double, Inputs> NextInput() {
    std::copy(buffer_.end() - History, buffer_.end(), buffer_.begin());
    return std::span<double, Inputs>(buffer_.data() + History, Inputs);
  }

  // Delay-line value k at output j of the current block.
  double Line(int output, int k) const { return buffer_[History + output * Step + Step - 1 - k]; }

  void Run(std::span<double, Outputs> output) {
    if constexpr (Step > 1) SplitPhases();
    int j = 0;
    for (; j + WideLanes <= Outputs; j += WideLanes)
      RunLanes<WideLanes>(j, output.data() + j);
    for (; j < Outputs; ++j)
      RunLanes<1>(j, output.data() + j);
  }

  int ActiveTapCount() const { return activeCount_; }

 private:
  static constexpr int History = Taps - 1;
  static constexpr int BufferLength = History + Inputs;
  static constexpr int PhaseLength = (BufferLength + Step - 1) / Step;
  static constexpr int WideLanes = 8;

  // Where delay-line value k of output 0 lies in the data the sums read; output j reads j further.
  static constexpr int FirstLineOffset(int k) {
    const int index = History + Step - 1 - k;  // in buffer_
    if constexpr (Step == 1) return index;
    return (index % Step) * PhaseLength + index / Step;
  }

  const double* LineData() const {
    if constexpr (Step == 1) return buffer_.data();
    return phases_.data();
  }

  void SplitPhases() {
    for (int phase = 0; phase < Step; ++phase) {
      double* out = phases_.data() + phase * PhaseLength;
      for (int i = phase; i < BufferLength; i += Step)
        *out++ = buffer_[i];
    }
  }

  // Outputs j .. j+Lanes-1, each summed in tap order.
  template <int Lanes>
  void RunLanes(int j, double* output) const {
    const double* data = LineData() + j;
    double sums[Lanes];
    for (int lane = 0; lane < Lanes; ++lane)
      sums[lane] = 0.0;
    for (int n = 0; n < activeCount_; ++n) {
      const double c = coefficients_[activeTaps_[n]];
      const double* line = data + tapOffsets_[n];
      for (int lane = 0; lane < Lanes; ++lane)
        sums[lane] += c * line[lane];
    }
    for (int lane = 0; lane < Lanes; ++lane)
      output[lane] = sums[lane];
  }

  std::array<double, Taps> coefficients_;
  std::array<int, Taps> activeTaps_{};
  std::array<int, Taps> tapOffsets_{};
  int activeCount_ = 0;
  std::array<double, BufferLength> buffer_{};
  // The buffer split by position modulo Step; only decimating filters use it.
  std::array<double, Step == 1 ? 1 : Step * PhaseLength> phases_{};
};

}  // namespace seaherald
