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
//   samples of a decimator);
// - several outputs are summed side by side, which hides the latency of the additions without
//   changing the order within any one sum;
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
      if (coefficients[k] != 0.0) activeTaps_[activeCount_++] = k;
    }
  }

  // Where the caller writes the next block of inputs. Calling it moves the newest Taps-1 inputs
  // of the previous block in front, so the previous block's line values are gone afterwards.
  std::span<double, Inputs> NextInput() {
    std::copy(buffer_.end() - History, buffer_.end(), buffer_.begin());
    return std::span<double, Inputs>(buffer_.data() + History, Inputs);
  }

  // Delay-line value k at output j of the current block.
  double Line(int output, int k) const { return buffer_[End(output) - k]; }

  void Run(std::span<double, Outputs> output) const {
    constexpr int Lanes = 4;
    int j = 0;
    for (; j + Lanes <= Outputs; j += Lanes) {
      const double* x0 = buffer_.data() + End(j);
      const double* x1 = x0 + Step;
      const double* x2 = x1 + Step;
      const double* x3 = x2 + Step;
      double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
      for (int n = 0; n < activeCount_; ++n) {
        const int k = activeTaps_[n];
        const double c = coefficients_[k];
        s0 += c * x0[-k];
        s1 += c * x1[-k];
        s2 += c * x2[-k];
        s3 += c * x3[-k];
      }
      output[j] = s0;
      output[j + 1] = s1;
      output[j + 2] = s2;
      output[j + 3] = s3;
    }
    for (; j < Outputs; ++j) {
      const double* x = buffer_.data() + End(j);
      double s = 0.0;
      for (int n = 0; n < activeCount_; ++n) {
        const int k = activeTaps_[n];
        s += coefficients_[k] * x[-k];
      }
      output[j] = s;
    }
  }

  int ActiveTapCount() const { return activeCount_; }

 private:
  static constexpr int History = Taps - 1;
  // Buffer index of the newest input of output j.
  static constexpr std::size_t End(int output) { return History + output * Step + Step - 1; }

  std::array<double, Taps> coefficients_;
  std::array<int, Taps> activeTaps_{};
  int activeCount_ = 0;
  std::array<double, History + Inputs> buffer_{};
};

}  // namespace seaherald
