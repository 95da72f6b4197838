#include "audio/BlockHandler.h"

namespace seaherald {

namespace {

constexpr int DecodedChannel = 0;  // only the left input is ever decoded

}  // namespace

BlockHandler::BlockHandler(DecoderSettings decoderSettings, LineSink& lines,
                           const Settings& settings, const LocalClock& clock,
                           BlockHandlerListener& listener)
    : listener_(listener),
      decoder_(decoderSettings, indicators_, lines),
      timekeeper_(indicators_, settings, clock, listener) {}

void BlockHandler::ProcessBlock(StereoBlock block) {
  ConvertLeftChannel(block, decoder_.SampleBlock(DecodedChannel));
  decoder_.DecodeBlock(DecodedChannel);
  listener_.OnBlockDecoded();
  timekeeper_.TickClock();
  timekeeper_.UpdateLamp();
  listener_.OnBlockDone();
}

}  // namespace seaherald
