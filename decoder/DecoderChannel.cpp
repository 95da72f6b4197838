#include "decoder/DecoderChannel.h"

namespace seaherald {

DecoderChannel::DecoderChannel(DecoderSettings settings, ReceptionIndicators& indicators,
                               LineSink& sink)
    : centerFrequency_(settings.CenterFrequency),
      sensitive_(settings.Sensitive),
      line_(sink),
      codes_(line_),
      characters_(settings, indicators, line_, codes_),
      softCharacters_(settings, indicators, line_, codes_) {}

void DecoderChannel::DecodeBlock(DemodulatorOutputs& outputs) {
  if (sensitive_ != sensitiveActive_) SwitchPath(sensitive_);
  if (sensitiveActive_) {
    DecodeSensitive(outputs);
    return;
  }
  demodulator_.Demodulate(sampleBlock_, centerFrequency_, outputs);
  for (std::uint8_t bit : demodulator_.BlockBits())
    characters_.TakeBit(bit);
}

// A line in progress is handed over as cut: the other path starts from nothing and cannot go on
// with it. The path taken up starts as a new receiver would.
void DecoderChannel::SwitchPath(bool sensitive) {
  if (sensitive) {
    characters_.DropSync();
    softDemodulator_.Reset();
    softCharacters_.Reset();
  } else {
    softCharacters_.DropSync();
  }
  sensitiveActive_ = sensitive;
}

// The tuning display shows the offset the frequency loop follows while a station is copied.
void DecoderChannel::DecodeSensitive(DemodulatorOutputs& outputs) {
  softDemodulator_.Demodulate(sampleBlock_, centerFrequency_, outputs);
  bool copied = false;
  bool held = true;
  const std::span<const double> softBits = softDemodulator_.SoftBits();
  for (const double softBit : softBits) {
    softCharacters_.TakeSoftBit(softBit);
    copied = copied || softCharacters_.CharSync();
    held = held && softCharacters_.CharSync();
  }
  softDemodulator_.SetLocked(held);
  outputs.TuningOffset = copied ? softDemodulator_.FrequencyOffsetHz() : 0.0;
}

bool DecoderChannel::CharSync() const {
  return sensitiveActive_ ? softCharacters_.CharSync() : characters_.CharSync();
}

int DecoderChannel::PairBitCounter() const {
  return sensitiveActive_ ? softCharacters_.PairBitCounter() : characters_.PairBitCounter();
}

}  // namespace seaherald
