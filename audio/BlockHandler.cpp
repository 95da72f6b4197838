#include "audio/BlockHandler.h"

namespace seaherald {

namespace {

constexpr int DecodedChannel = 0;  // each receiver's decoder decodes its first slot

}  // namespace

BlockHandler::BlockHandler(DecoderSettings decoderSettings, LineSink& lines,
                           const Settings& settings, const LocalClock& clock,
                           BlockHandlerListener& listener)
    : settings_(settings),
      listener_(listener),
      first_(decoderSettings, lines, settings),
      timekeeper_(first_.Indicators(), settings, clock, listener) {}

void BlockHandler::AddSecondReceiver(DecoderSettings decoderSettings, LineSink& lines) {
  second_ = std::make_unique<Receiver>(decoderSettings, lines, settings_);
}

void BlockHandler::ProcessBlock(StereoBlock block) {
  FollowSecondSwitch();
  Decoder& decoder = first_.GetDecoder();
  ConvertLeftChannel(block, decoder.SampleBlock(DecodedChannel));
  decoder.DecodeBlock(DecodedChannel);
  const bool second = secondWasOn_;
  if (second) DecodeSecond(block);
  listener_.OnBlockDecoded();
  const bool newSecond = timekeeper_.TickClock();
  if (second && newSecond && second_->Quiet().CountSecond()) listener_.DiscardSecondMessage();
  timekeeper_.UpdateLamp();
  if (second) listener_.SetSecondLamp(AdvanceLamp(second_->Indicators()));
  listener_.OnBlockDone();
}

void BlockHandler::DecodeSecond(StereoBlock block) {
  Decoder& decoder = second_->GetDecoder();
  ConvertRightChannel(block, decoder.SampleBlock(DecodedChannel));
  decoder.DecodeBlock(DecodedChannel);
}

// Switched off, the second receiver's message in progress goes and its lamp goes out.
void BlockHandler::FollowSecondSwitch() {
  const bool on = SecondReceiverOn();
  if (secondWasOn_ && !on) {
    listener_.DiscardSecondMessage();
    listener_.SetSecondLamp(false);
  }
  secondWasOn_ = on;
}

}  // namespace seaherald
