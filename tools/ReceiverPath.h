#pragma once

#include <memory>
#include <string>

#include "decoder/LineSink.h"
#include "tools/MessageFiling.h"

namespace seaherald::decodetool {

// Where one receiver's lines go: first to its printer, then to its own message log (when there
// is one), which keeps its own message in progress.
class ReceiverPath final : public LineSink {
 public:
  ReceiverPath(LineSink& lines, std::unique_ptr<MessageFiling> filing)
      : lines_(lines), filing_(std::move(filing)) {}

  void AddReceivedLine(const std::string& line, bool cut) override {
    lines_.AddReceivedLine(line, cut);
    if (filing_) filing_->Log().AddReceivedLine(line, cut);
  }
  void AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) override {
    lines_.AddUnsureLine(line, cut, unsure);
    if (filing_) filing_->Log().AddUnsureLine(line, cut, unsure);
  }
  void ShowLiveLine(const std::string& line) override {
    lines_.ShowLiveLine(line);
    if (filing_) filing_->Log().ShowLiveLine(line);
  }
  void PhasingSeen() override {
    lines_.PhasingSeen();
    if (filing_) filing_->Log().PhasingSeen();
  }
  // The receive time-out.
  void DiscardMessage() {
    if (filing_) filing_->Log().DiscardMessage();
  }

  // Null without filing and without anyone to hear of completed messages.
  MessageFiling* Filing() { return filing_.get(); }
  const MessageFiling* Filing() const { return filing_.get(); }

 private:
  LineSink& lines_;
  std::unique_ptr<MessageFiling> filing_;
};

}  // namespace seaherald::decodetool
