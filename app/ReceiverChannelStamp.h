#pragma once

#include <string>
#include <utility>

#include "app/Settings.h"
#include "msglog/CompletedMessage.h"

namespace seaherald {

// While both receivers run, each completed message names the input channel that received it
// ("left" or "right", as the command-line decoder names them), so that the alarm and the network
// outputs can tell the two apart; with one receiver a message goes on exactly as it was.
class ReceiverChannelStamp final : public MessageCompletionListener {
 public:
  ReceiverChannelStamp(const Settings& settings, std::string channel,
                       MessageCompletionListener& next)
      : settings_(settings), channel_(std::move(channel)), next_(next) {}

  void MessageCompleted(const CompletedMessage& message) override {
    if (!settings_.Receiver2) {
      next_.MessageCompleted(message);
      return;
    }
    CompletedMessage stamped = message;
    stamped.channel = channel_;
    next_.MessageCompleted(stamped);
  }

 private:
  const Settings& settings_;
  std::string channel_;
  MessageCompletionListener& next_;
};

}  // namespace seaherald
