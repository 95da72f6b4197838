#pragma once

#include <cstdio>

#include "decoder/LineSink.h"
#include "msglog/CompletedMessage.h"
#include "relay/NrxFeed.h"

namespace seaherald::decodetool {

// --format nmea: the NRX sentences of each completed English message, CR LF after each as NMEA
// 0183 has it; lines and Japanese messages print nothing.
class NmeaPrinter final : public LineSink, public MessageCompletionListener {
 public:
  NmeaPrinter(std::FILE* out, NavtexFrequency frequency) : out_(out), feed_(frequency) {}

  void AddReceivedLine(const std::string&, bool) override {}
  void ShowLiveLine(const std::string&) override {}
  void MessageCompleted(const CompletedMessage& message) override;

 private:
  std::FILE* out_;
  NrxFeed feed_;
};

}  // namespace seaherald::decodetool
