#include "decoder/DecoderChannel.h"

namespace seaherald {

DecoderChannel::DecoderChannel(DecoderSettings settings, ReceptionIndicators& indicators,
                               LineSink& sink)
    : centerFrequency_(settings.CenterFrequency), characters_(settings, indicators, sink) {}

void DecoderChannel::DecodeBlock(DemodulatorOutputs& outputs) {
  demodulator_.Demodulate(sampleBlock_, centerFrequency_, outputs);
  for (std::uint8_t bit : demodulator_.BlockBits())
    characters_.TakeBit(bit);
}

}  // namespace seaherald
