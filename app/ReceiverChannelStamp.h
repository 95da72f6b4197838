#pragma once

#include <string>
#include <utility>

#include "app/Settings.h"
#include "msglog/CompletedMessage.h"
#include "relay/NavtexFrequency.h"

namespace seaherald {

// While both receivers run, each completed message names the input channel that received it
// ("left" or "right", as the command-line decoder names them), so that the alarm and the network
// outputs can tell the two apart; with one receiver a message goes on exactly as it was. The
// second receiver, given a frequency of its own, also carries that frequency to the outputs.
class ReceiverChannelStamp final : public MessageCompletionListener {
 public:
  // `ownFrequency`: the settings field with the receiver's own frequency, empty while it has
  // none; null for the first receiver, whose outputs take the network settings' frequency.
  ReceiverChannelStamp(const Settings& settings, std::string channel,
                       MessageCompletionListener& next, const std::string* ownFrequency = nullptr)
      : settings_(settings),
        channel_(std::move(channel)),
        next_(next),
        ownFrequency_(ownFrequency) {}

  void MessageCompleted(const CompletedMessage& message) override {
    if (!settings_.Receiver2) {
      next_.MessageCompleted(message);
      return;
    }
    CompletedMessage stamped = message;
    stamped.channel = channel_;
    if (ownFrequency_ != nullptr) {
      if (const auto frequency = ParseNavtexFrequency(*ownFrequency_))
        stamped.frequencyKhz = Kilohertz(*frequency);
    }
    next_.MessageCompleted(stamped);
  }

 private:
  const Settings& settings_;
  std::string channel_;
  MessageCompletionListener& next_;
  const std::string* ownFrequency_;
};

}  // namespace seaherald
