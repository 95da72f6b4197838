#include "decoder/Decoder.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "decoder/DecoderChannel.h"

namespace seaherald {

Decoder::Decoder(DecoderSettings settings, ReceptionIndicators& indicators, LineSink& sink) {
  channels_[0] = std::make_unique<DecoderChannel>(settings, indicators, sink);
  // The second slot keeps its own language and polarity; it shares the rest.
  const DecoderSettings second{channel1DecLang_, channel1DecInv_, settings.AutoSet,
                               settings.CenterFrequency, settings.Sensitive};
  channels_[1] = std::make_unique<DecoderChannel>(second, indicators, sink);
}

Decoder::~Decoder() = default;

const DecoderChannel& Decoder::Channel(int channel) const {
  if (channel < 0 || channel >= DecoderChannelCount) {
    throw std::out_of_range("decoder channel " + std::to_string(channel) + " does not exist");
  }
  return *channels_[channel];
}

DecoderChannel& Decoder::ChannelAt(int channel) {
  return const_cast<DecoderChannel&>(std::as_const(*this).Channel(channel));
}

std::span<double, BlockFrames> Decoder::SampleBlock(int channel) {
  return ChannelAt(channel).SampleBlock();
}

void Decoder::DecodeBlock(int channel) {
  ChannelAt(channel).DecodeBlock(outputs_);
}

std::span<const double, DecimatedBlockSamples> Decoder::DisplaySamples() const {
  return outputs_.DisplaySamples;
}

double Decoder::TuningOffset() const {
  return outputs_.TuningOffset;
}
double Decoder::ResonatorPeak() const {
  return outputs_.ResonatorPeak;
}

bool Decoder::CharSync(int channel) const {
  return Channel(channel).CharSync();
}
int Decoder::PairBitCounter(int channel) const {
  return Channel(channel).PairBitCounter();
}
int Decoder::BlockBitCount(int channel) const {
  return Channel(channel).Demod().BlockBitCount();
}
std::span<const std::uint8_t> Decoder::BlockBits(int channel) const {
  return Channel(channel).Demod().BlockBits();
}
std::span<const double> Decoder::BitErrorHz(int channel) const {
  return Channel(channel).Demod().BitErrorHz();
}
std::span<const double, DecimatedBlockSamples> Decoder::Deviation(int channel) const {
  return Channel(channel).Demod().Deviation();
}
const std::string& Decoder::Line(int channel) const {
  return Channel(channel).Line();
}
bool Decoder::DecLang(int channel) const {
  return Channel(channel).Characters().DecLang();
}
bool Decoder::DecInv(int channel) const {
  return Channel(channel).Characters().DecInv();
}
int Decoder::ShiftState(int channel) const {
  return Channel(channel).ShiftState();
}

}  // namespace seaherald
