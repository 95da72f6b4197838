#pragma once

#include <string>

#include "msglog/CompletedMessage.h"

namespace seaherald {

// A message as a NAVTEX receiver prints it on its printer or serial port: "ZCZC B1B2B3B4", the
// body, "NNNN", every line ended by CR LF. Cut lines keep their "..." mark.
std::string PrinterText(const CompletedMessage& message);

}  // namespace seaherald
