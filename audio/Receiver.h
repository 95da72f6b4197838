#pragma once

#include "app/Settings.h"
#include "audio/QuietSeconds.h"
#include "decoder/Decoder.h"
#include "decoder/DecoderSettings.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"

namespace seaherald {

// One receiver: a decoder of its own with the reception indicators it writes and its receive
// time-out. Receivers share nothing, so two of them can watch two stations at once; each decodes
// its decoder's channel 0, whose tuning and display values are then its own.
class Receiver {
 public:
  Receiver(DecoderSettings decoderSettings, LineSink& lines, const Settings& settings)
      : decoder_(decoderSettings, indicators_, lines), quiet_(indicators_, settings) {}
  Receiver(const Receiver&) = delete;
  Receiver& operator=(const Receiver&) = delete;

  Decoder& GetDecoder() { return decoder_; }
  const Decoder& GetDecoder() const { return decoder_; }
  ReceptionIndicators& Indicators() { return indicators_; }
  const ReceptionIndicators& Indicators() const { return indicators_; }
  QuietSeconds& Quiet() { return quiet_; }

 private:
  ReceptionIndicators indicators_;  // before the decoder, which keeps a reference
  Decoder decoder_;
  QuietSeconds quiet_;
};

}  // namespace seaherald
