#pragma once

#include <vector>

#include "msglog/CompletedMessage.h"

namespace seaherald::decodetool {

// Hands each completed message to every listener, in the order they were added.
class CompletionFanOut final : public MessageCompletionListener {
 public:
  void Add(MessageCompletionListener& listener) { listeners_.push_back(&listener); }
  bool Empty() const { return listeners_.empty(); }

  void MessageCompleted(const CompletedMessage& message) override {
    for (MessageCompletionListener* listener : listeners_)
      listener->MessageCompleted(message);
  }

 private:
  std::vector<MessageCompletionListener*> listeners_;
};

}  // namespace seaherald::decodetool
