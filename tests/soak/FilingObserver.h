#pragma once

#include <string>

#include "msglog/MessageLog.h"

namespace seaherald::soak {

// What happened to a message in progress of the message log.
enum class Filing {
  Written,        // filed as a new log file
  Replaced,       // filed over a stored copy with as many or more errors
  KeptOlder,      // dropped: the stored copy has fewer errors
  TooManyErrors,  // dropped: ErrorCount reached ErrNum
  WriteFailed,
  EmptyBody,     // end marker straight after the start: nothing to file
  Interrupted,   // another start marker came first
  TimedOut,      // dropped by the receive time-out
  NewBroadcast,  // dropped at the phasing of the next broadcast
};
inline constexpr int FilingCount = 9;
const char* FilingName(Filing filing);

bool IsEndOfMessage(Filing filing);  // decided at an end marker

struct FilingEvent {
  std::string header;  // of the message concerned (Shift-JIS)
  Filing filing = Filing::Written;
  int errorCount = 0;      // its ErrorCount at that moment
  bool bodyEmpty = false;  // its body was empty at that moment
};

class FilingListener {
 public:
  virtual ~FilingListener() = default;
  virtual void OnFiling(const FilingEvent& event) = 0;
};

// Sits between the decoder and the message log: passes every line and every time-out on, and
// tells from the log's state and counts before and after what became of the message that was
// in progress.
class FilingObserver {
 public:
  FilingObserver(MessageLog& log, FilingListener& listener);

  void AddReceivedLine(const std::string& line, bool cut);
  void ShowLiveLine(const std::string& line) { log_.ShowLiveLine(line); }
  void PhasingSeen();
  void DiscardMessage();

 private:
  struct Before {
    std::string header;
    int errorCount;
    bool bodyEmpty;
    FilingCounts counts;
  };
  Before Snapshot() const;
  void Report(const Before& before);

  MessageLog& log_;
  FilingListener& listener_;
};

}  // namespace seaherald::soak
