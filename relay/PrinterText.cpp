#include "relay/PrinterText.h"

namespace seaherald {

std::string PrinterText(const CompletedMessage& message) {
  return "ZCZC " + message.header + "\r\n" + message.body + "NNNN\r\n";
}

}  // namespace seaherald
