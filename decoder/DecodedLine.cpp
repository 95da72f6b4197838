#include "decoder/DecodedLine.h"

#include <algorithm>

namespace seaherald {

void DecodedLine::Append(std::string_view character) {
  line_.append(character);
  sink_.ShowLiveLine(line_);
}

void DecodedLine::ReplaceTail(std::size_t bytes, std::string_view text) {
  line_.resize(line_.size() - std::min(bytes, line_.size()));
  line_.append(text);
  sink_.ShowLiveLine(line_);
}

void DecodedLine::EndLine(bool cut) {
  if (line_.empty()) return;
  sink_.AddReceivedLine(line_, cut);
  line_.clear();
}

}  // namespace seaherald
