#pragma once

#include <string>

namespace seaherald {

// What the block handler asks of the rest of the program, in the order it asks it within a block.
class BlockHandlerListener {
 public:
  virtual ~BlockHandlerListener() = default;
  // The decoder has consumed the block: the spectrum history can take its display samples.
  virtual void OnBlockDecoded() = 0;
  // A new second (or a changed clock): the "hh:mm:ss" text for the clock panel.
  virtual void ShowClock(const std::string& clockText) = 0;
  // Reception has been quiet for the time-out: drop the message in progress.
  virtual void DiscardMessage() = 0;
  virtual void AutoDeleteLogs() = 0;
  // The reception lamp: lime while character sync was held within the last three blocks.
  virtual void SetLamp(bool lime) = 0;
  // Last step of every block: the spectrum picture can be drawn.
  virtual void OnBlockDone() = 0;
  // The second receiver's own time-out and lamp, while it runs; both also when it is switched off.
  virtual void DiscardSecondMessage() {}
  virtual void SetSecondLamp(bool lime) { static_cast<void>(lime); }
};

}  // namespace seaherald
