#include "tools/JsonLinePrinter.h"

#include "relay/MessageJson.h"

namespace seaherald::decodetool {

void JsonLinePrinter::AddReceivedLine(const std::string& line, bool cut) {
  AddChannelLine(line, cut, {});
}

void JsonLinePrinter::AddChannelLine(const std::string& line, bool cut, std::string_view channel) {
  Write(LineJson(converter_, line, cut, clock_ != nullptr ? clock_->Now() : LocalDateTime{},
                 channel));
}

void JsonLinePrinter::MessageCompleted(const CompletedMessage& message) {
  Write(MessageJson(converter_, message, frequency_, receiver_));
}

void JsonLinePrinter::Write(std::string object) {
  if (beforeWrite_) beforeWrite_();
  object += '\n';
  out_.Write(object);
}

}  // namespace seaherald::decodetool
