#pragma once

#include <cstdio>
#include <functional>

#include "decoder/LineSink.h"
#include "msglog/CompletedMessage.h"
#include "relay/NrxFeed.h"
#include "tools/PipedOutput.h"

namespace seaherald::decodetool {

// --format nmea: the NRX sentences of each completed English message, CR LF after each as NMEA
// 0183 has it; lines and Japanese messages print nothing, and `report` hears once that Japanese
// messages are left out.
class NmeaPrinter final : public LineSink, public MessageCompletionListener {
 public:
  NmeaPrinter(std::FILE* out, NavtexFrequency frequency,
              std::function<void(const std::string&)> report)
      : out_(out), feed_(frequency), report_(std::move(report)) {}
  // Called before each message's sentences are written (the progress display clears itself).
  void SetBeforeWrite(std::function<void()> beforeWrite) { beforeWrite_ = std::move(beforeWrite); }

  void AddReceivedLine(const std::string&, bool) override {}
  void ShowLiveLine(const std::string&) override {}
  void MessageCompleted(const CompletedMessage& message) override;

 private:
  PipedOutput out_;
  NrxFeed feed_;
  std::function<void()> beforeWrite_;
  std::function<void(const std::string&)> report_;
  bool toldJapanese_ = false;
};

}  // namespace seaherald::decodetool
