#pragma once

#include <string>

#include "decoder/LineSink.h"
#include "msglog/CompletedMessage.h"
#include "tools/JsonLinePrinter.h"

namespace seaherald::decodetool {

// With two receivers, the text output begins each line with its channel's name: "left: ...".
class NamedLines final : public LineSink {
 public:
  NamedLines(LineSink& printer, const std::string& channel)
      : printer_(printer), prefix_(channel + ": ") {}
  // The name is ASCII, so it goes before the Shift-JIS bytes as it is.
  void AddReceivedLine(const std::string& line, bool cut) override {
    printer_.AddReceivedLine(prefix_ + line, cut);
  }
  void ShowLiveLine(const std::string&) override {}

 private:
  LineSink& printer_;
  std::string prefix_;
};

// With two receivers, each line object names its channel.
class ChannelJsonLines final : public LineSink {
 public:
  ChannelJsonLines(JsonLinePrinter& printer, std::string channel)
      : printer_(printer), channel_(std::move(channel)) {}
  void AddReceivedLine(const std::string& line, bool cut) override {
    printer_.AddChannelLine(line, cut, channel_);
  }
  void ShowLiveLine(const std::string&) override {}

 private:
  JsonLinePrinter& printer_;
  std::string channel_;
};

// With two receivers, each completed message is marked with the channel and the frequency of
// the receiver that took it before it goes on to the outputs.
class ChannelStamp final : public MessageCompletionListener {
 public:
  ChannelStamp(MessageCompletionListener& next, std::string channel, double frequencyKhz)
      : next_(next), channel_(std::move(channel)), frequencyKhz_(frequencyKhz) {}
  void MessageCompleted(const CompletedMessage& message) override {
    CompletedMessage stamped = message;
    stamped.channel = channel_;
    stamped.frequencyKhz = frequencyKhz_;
    next_.MessageCompleted(stamped);
  }

 private:
  MessageCompletionListener& next_;
  std::string channel_;
  double frequencyKhz_;
};

}  // namespace seaherald::decodetool
