#include "decoder/DecodedLine.h"

namespace seaherald {

void DecodedLine::Append(std::string_view character) {
  line_.append(character);
  sink_.ShowLiveLine(line_);
}

void DecodedLine::EndLine(bool cut) {
  if (line_.empty()) return;
  sink_.AddReceivedLine(line_, cut);
  line_.clear();
}

}  // namespace seaherald
