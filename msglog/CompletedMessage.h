#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/LocalClock.h"

namespace seaherald {

// What became of a message whose end marker arrived.
enum class FilingOutcome {
  kWritten,        // filed as a new log file
  kReplaced,       // replaced a stored copy with as many or more errors
  kKeptOlder,      // not filed: the stored copy has fewer errors
  kTooManyErrors,  // not filed: ErrorCount reached ErrNum while ErrSave is on
  kWriteFailed,    // not filed: the log file could not be written or the stored copy not read
  kNotFiling,      // not filed: the message log was told to write no files
};

inline bool WasFiled(FilingOutcome outcome) {
  return outcome == FilingOutcome::kWritten || outcome == FilingOutcome::kReplaced;
}

// A message between a valid header and its end marker, as the message log judged it.
struct CompletedMessage {
  CompletedMessage() = default;
  // The watch's two fields last and optional, so that a message is written as before.
  CompletedMessage(std::string header, int lang, std::string body, int errorCount,
                   LocalDateTime received, FilingOutcome outcome, std::string stationName = {},
                   bool alarm = false)
      : header(std::move(header)),
        lang(lang),
        body(std::move(body)),
        errorCount(errorCount),
        received(received),
        outcome(outcome),
        stationName(std::move(stationName)),
        alarm(alarm) {}

  std::string header;  // Shift-JIS: 4 bytes (English) or 10 bytes (Japanese)
  int lang = 0;        // 0 English service, 1 Japanese-language service (from the header's form)
  std::string body;    // Shift-JIS, each line followed by CR LF ("...\r\n" when cut), as filed
  int errorCount = 0;  // lines cut short
  LocalDateTime received;  // the clock's time at the end marker (the log file's stamp)
  FilingOutcome outcome = FilingOutcome::kNotFiling;
  // ASCII name from the chosen area's station list; empty when the catalogue names the station.
  std::string stationName;
  bool alarm = false;  // search and rescue, or another type the user added to the alarm
  // With two receivers: the input channel that received it, as the user named it ("left"), and
  // that receiver's frequency in kHz. Empty with one receiver.
  std::string channel;
  std::optional<double> frequencyKhz;
};

// Hears of every completed message, filed or not, after the log folder was dealt with.
class MessageCompletionListener {
 public:
  virtual ~MessageCompletionListener() = default;
  virtual void MessageCompleted(const CompletedMessage& message) = 0;
};

}  // namespace seaherald
