#pragma once

#include <span>
#include <vector>

struct SRC_STATE_tag;

namespace seaherald::decodetool {

// One channel of audio converted to another sample rate as it streams through, by libsamplerate's
// band-limited sinc interpolation.
class StreamResampler {
 public:
  StreamResampler(double inputRate, double outputRate);
  ~StreamResampler();
  StreamResampler(const StreamResampler&) = delete;
  StreamResampler& operator=(const StreamResampler&) = delete;

  // Takes all of `input` and appends whatever output is ready to `output`. The call with
  // `endOfInput` set drains the filter, so the output ends where the input ended.
  void Process(std::span<const float> input, bool endOfInput, std::vector<float>& output);

  // Whether the sample rates can be converted (libsamplerate handles ratios up to 256).
  static bool Supports(double inputRate, double outputRate);

 private:
  SRC_STATE_tag* state_;
  double ratio_;
};

}  // namespace seaherald::decodetool
