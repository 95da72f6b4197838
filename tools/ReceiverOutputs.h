#pragma once

#include <array>
#include <memory>
#include <string>

#include "decoder/LineSink.h"
#include "msglog/CompletedMessage.h"
#include "tools/ChannelOutputs.h"
#include "tools/CompletionFanOut.h"
#include "tools/DecodeOptions.h"
#include "tools/JsonLinePrinter.h"
#include "tools/LinePrinter.h"

namespace seaherald::decodetool {

// Where each receiver's lines and completed messages go. With two receivers each one's lines and
// messages carry its channel's name (and its messages its own frequency); one receiver's output
// stays as it always was.
class ReceiverOutputs {
 public:
  // `lines` is `printer`, `json` or another sink that prints no lines of its own; `frequency2` is
  // the second receiver's.
  ReceiverOutputs(const DecodeOptions& options, NavtexFrequency frequency2, LineSink& lines,
                  LinePrinter& printer, JsonLinePrinter& json, CompletionFanOut& completions);
  ReceiverOutputs(const ReceiverOutputs&) = delete;
  ReceiverOutputs& operator=(const ReceiverOutputs&) = delete;

  bool Two() const { return two_; }
  LineSink& Lines(std::size_t receiver) { return *lines_[receiver]; }
  // Null when nobody hears of completed messages.
  MessageCompletionListener* Completion(std::size_t receiver) {
    return two_ && stamps_[receiver] ? stamps_[receiver].get() : completion_;
  }

 private:
  bool two_ = false;
  MessageCompletionListener* completion_ = nullptr;
  std::array<LineSink*, 2> lines_{};
  std::array<std::unique_ptr<NamedLines>, 2> named_;
  std::array<std::unique_ptr<ChannelJsonLines>, 2> jsonLines_;
  std::array<std::unique_ptr<ChannelStamp>, 2> stamps_;
};

}  // namespace seaherald::decodetool
