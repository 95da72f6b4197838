#pragma once

#include <string>

namespace seaherald {

// What the message log tells the log browser as lines arrive and messages are filed.
class MessageLogListener {
 public:
  virtual ~MessageLogListener() = default;
  // Called after every received line with the whole received text (Shift-JIS, lines ended by
  // CR LF). The browser puts it in the text pane while the pane follows the received text.
  virtual void ReceivedTextChanged(const std::string& receivedText) = 0;
  // A new log file was written: recount the tree and refill the list (RebuildLogTree).
  virtual void LogFileCreated() = 0;
  // A message arrived under a header that already had a log file, whether it replaced the file
  // or was dropped: refill the list for the stored selection, if there is one.
  virtual void LogFileConsidered() = 0;
};

}  // namespace seaherald
