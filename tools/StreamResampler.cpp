#include "tools/StreamResampler.h"

#include <samplerate.h>

#include <array>
#include <stdexcept>
#include <string>

namespace seaherald::decodetool {

bool StreamResampler::Supports(double inputRate, double outputRate) {
  return inputRate > 0 && src_is_valid_ratio(outputRate / inputRate) != 0;
}

StreamResampler::StreamResampler(double inputRate, double outputRate)
    : state_(nullptr), ratio_(outputRate / inputRate) {
  if (!Supports(inputRate, outputRate)) {
    throw std::invalid_argument("sample rate ratio out of range for resampling");
  }
  int error = 0;
  state_ = src_new(SRC_SINC_MEDIUM_QUALITY, 1, &error);
  if (state_ == nullptr) throw std::runtime_error(std::string("resampler: ") + src_strerror(error));
}

StreamResampler::~StreamResampler() {
  src_delete(state_);
}

void StreamResampler::Process(std::span<const float> input, bool endOfInput,
                              std::vector<float>& output) {
  std::array<float, 4096> chunk{};
  SRC_DATA data{};
  data.src_ratio = ratio_;
  data.end_of_input = endOfInput ? 1 : 0;
  std::span<const float> remaining = input;
  while (true) {
    data.data_in = remaining.data();
    data.input_frames = static_cast<long>(remaining.size());
    data.data_out = chunk.data();
    data.output_frames = static_cast<long>(chunk.size());
    if (const int error = src_process(state_, &data); error != 0) {
      throw std::runtime_error(std::string("resampler: ") + src_strerror(error));
    }
    remaining = remaining.subspan(static_cast<std::size_t>(data.input_frames_used));
    output.insert(output.end(), chunk.begin(), chunk.begin() + data.output_frames_gen);
    // Without more input the converter only keeps producing while it drains at the end.
    const bool drained = data.output_frames_gen == 0;
    if (remaining.empty() && (!endOfInput || drained)) break;
  }
}

}  // namespace seaherald::decodetool
