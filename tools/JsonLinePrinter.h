#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "decoder/LineSink.h"
#include "msglog/CompletedMessage.h"
#include "platform/CodePage.h"
#include "platform/LocalClock.h"
#include "relay/NavtexFrequency.h"
#include "tools/PipedOutput.h"

namespace seaherald::decodetool {

// --format jsonl: one JSON object per output line, for each handed-over line and for each
// completed message (docs/json-output.md), flushed at once for pipes.
class JsonLinePrinter final : public LineSink, public MessageCompletionListener {
 public:
  JsonLinePrinter(std::FILE* out, NavtexFrequency frequency, std::string receiver)
      : out_(out), frequency_(frequency), receiver_(std::move(receiver)) {}

  // The clock that stamps the lines (the decoding's own); lines before it is set are not stamped
  // with anything but the epoch of LocalDateTime, so set it before decoding.
  void SetClock(const LocalClock& clock) { clock_ = &clock; }
  // Called before each object is written (the progress display clears itself there).
  void SetBeforeWrite(std::function<void()> beforeWrite) { beforeWrite_ = std::move(beforeWrite); }

  void AddReceivedLine(const std::string& line, bool cut) override;
  // A line of one of two receivers: the object names its channel.
  void AddChannelLine(const std::string& line, bool cut, std::string_view channel);
  void ShowLiveLine(const std::string&) override {}
  void MessageCompleted(const CompletedMessage& message) override;

 private:
  void Write(std::string object);

  PipedOutput out_;
  NavtexFrequency frequency_;
  std::string receiver_;
  const LocalClock* clock_ = nullptr;
  std::function<void()> beforeWrite_;
  CodePageConverter converter_;
};

}  // namespace seaherald::decodetool
