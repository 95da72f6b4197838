#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "decoder/LineSink.h"

namespace seaherald {

// The line a channel is receiving: Shift-JIS bytes without any line end. It is shown as it grows
// and handed over whole when it ends, with the bytes the decoder was unsure of.
class DecodedLine {
 public:
  explicit DecodedLine(LineSink& sink) : sink_(sink) {}

  // The next character appended was read without a clear lead. A code that prints nothing (a
  // shift, the first half of a Japanese character) passes the doubt on to the character it
  // affects.
  void DoubtNextCharacter(Doubt doubt) { doubtPending_ = std::max(doubtPending_, doubt); }
  // Appends one character (one or two bytes) and shows the whole line.
  void Append(std::string_view character);
  // Hands a non-empty line over with its cut flag, then empties it. An empty line calls nothing.
  void EndLine(bool cut);
  // Replaces the last `bytes` bytes of the line (at most all of it) and shows the whole line.
  // A repair is a guess: the first byte put back counts as guessed.
  void ReplaceTail(std::size_t bytes, std::string_view text);
  // Hands the line's first `bytes` over as a whole line and keeps the rest in progress, where a
  // line end was read as something else.
  void BreakLine(std::size_t bytes);
  // Drops the line without handing it over.
  void ClearLine();
  // Tells the sink of the phasing that begins a transmission.
  void PhasingSeen() { sink_.PhasingSeen(); }

  const std::string& Text() const { return line_; }
  const UnsureBytes& Unsure() const { return unsure_; }

 private:
  LineSink& sink_;
  std::string line_;
  UnsureBytes unsure_;
  bool anyUnsure_ = false;
  Doubt doubtPending_ = Doubt::kSure;
};

}  // namespace seaherald
