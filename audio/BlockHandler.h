#pragma once

#include <string>

#include "app/Settings.h"
#include "audio/BlockHandlerListener.h"
#include "audio/BlockTimekeeper.h"
#include "audio/SampleConversion.h"
#include "decoder/Decoder.h"
#include "decoder/DecoderSettings.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"
#include "platform/LocalClock.h"

namespace seaherald {

// Runs everything that happens to one captured block after the sound layer has handed it over, in
// a fixed order: conversion of the left channel, decoding, the spectrum update, the per-second
// clock with its receive time-out and clean-up schedule, the reception lamp, the spectrum drawing.
// It owns the decoder and the reception indicators the decoder writes. Settings are read at every
// block, so changes act at once.
class BlockHandler {
 public:
  BlockHandler(DecoderSettings decoderSettings, LineSink& lines, const Settings& settings,
               const LocalClock& clock, BlockHandlerListener& listener);
  BlockHandler(const BlockHandler&) = delete;
  BlockHandler& operator=(const BlockHandler&) = delete;

  void ProcessBlock(StereoBlock block);

  Decoder& GetDecoder() { return decoder_; }
  const Decoder& GetDecoder() const { return decoder_; }
  ReceptionIndicators& Indicators() { return indicators_; }
  const ReceptionIndicators& Indicators() const { return indicators_; }

  int AutoDeleteTicker() const { return timekeeper_.AutoDeleteTicker(); }
  // For the settings dialog when automatic deletion is switched on.
  void ResetAutoDeleteTicker() { timekeeper_.ResetAutoDeleteTicker(); }
  const std::string& ClockText() const { return timekeeper_.ClockText(); }

 private:
  BlockHandlerListener& listener_;
  ReceptionIndicators indicators_;  // before the decoder, which keeps a reference
  Decoder decoder_;
  BlockTimekeeper timekeeper_;
};

}  // namespace seaherald
