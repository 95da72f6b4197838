#pragma once

#include <memory>
#include <string>

#include "app/Settings.h"
#include "audio/BlockHandlerListener.h"
#include "audio/BlockTimekeeper.h"
#include "audio/Receiver.h"
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
// It owns the receivers. A second receiver, once added, takes the right channel in the same steps
// right after the first one's, while Settings::Receiver2 is on. Settings are read at every block,
// so changes act at once.
class BlockHandler {
 public:
  BlockHandler(DecoderSettings decoderSettings, LineSink& lines, const Settings& settings,
               const LocalClock& clock, BlockHandlerListener& listener);
  BlockHandler(const BlockHandler&) = delete;
  BlockHandler& operator=(const BlockHandler&) = delete;

  // Gives the right channel a receiver of its own, handing its lines to `lines`. Once, before
  // blocks flow.
  void AddSecondReceiver(DecoderSettings decoderSettings, LineSink& lines);
  bool SecondReceiverOn() const { return second_ != nullptr && settings_.Receiver2; }

  void ProcessBlock(StereoBlock block);

  Receiver& First() { return first_; }
  const Receiver& First() const { return first_; }
  // Null until added.
  Receiver* Second() { return second_.get(); }
  const Receiver* Second() const { return second_.get(); }

  Decoder& GetDecoder() { return first_.GetDecoder(); }
  const Decoder& GetDecoder() const { return first_.GetDecoder(); }
  ReceptionIndicators& Indicators() { return first_.Indicators(); }
  const ReceptionIndicators& Indicators() const { return first_.Indicators(); }

  int AutoDeleteTicker() const { return timekeeper_.AutoDeleteTicker(); }
  // For the settings dialog when automatic deletion is switched on.
  void ResetAutoDeleteTicker() { timekeeper_.ResetAutoDeleteTicker(); }
  const std::string& ClockText() const { return timekeeper_.ClockText(); }

 private:
  void DecodeSecond(StereoBlock block);
  void FollowSecondSwitch();

  const Settings& settings_;
  BlockHandlerListener& listener_;
  Receiver first_;
  BlockTimekeeper timekeeper_;
  std::unique_ptr<Receiver> second_;
  bool secondWasOn_ = false;
};

}  // namespace seaherald
