#pragma once

#include <string>
#include <string_view>

#include "decoder/LineSink.h"

namespace seaherald {

// The line a channel is receiving: Shift-JIS bytes without any line end. It is shown as it grows
// and handed over whole when it ends.
class DecodedLine {
 public:
  explicit DecodedLine(LineSink& sink) : sink_(sink) {}

  // Appends one character (one or two bytes) and shows the whole line.
  void Append(std::string_view character);
  // Hands a non-empty line over with its cut flag, then empties it. An empty line calls nothing.
  void EndLine(bool cut);
  // Replaces the last `bytes` bytes of the line (at most all of it) and shows the whole line.
  void ReplaceTail(std::size_t bytes, std::string_view text);
  // Drops the line without handing it over.
  void ClearLine() { line_.clear(); }
  // Tells the sink of the phasing that begins a transmission.
  void PhasingSeen() { sink_.PhasingSeen(); }

  const std::string& Text() const { return line_; }

 private:
  LineSink& sink_;
  std::string line_;
};

}  // namespace seaherald
