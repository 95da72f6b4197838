#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "msglog/LogFolder.h"
#include "msglog/MessageLog.h"
#include "platform/LocalClock.h"
#include "tools/ConsoleViews.h"
#include "tools/FilingSummary.h"

namespace seaherald::decodetool {

// Where messages are filed and who hears that a log file could not be written.
struct FilingTarget {
  std::filesystem::path folder;
  // Gets the text for a write failure as UTF-8: "cannot write <path>", or the window's
  // "<path> に書き込めません" in a Japanese locale.
  std::function<void(const std::string& utf8)> report;
};

// The receiver's message log, filing into a folder named on the command line: the same files,
// names and rules as in the window, with its dialogs turned into reports. Without a target it
// still recognises and judges every message for `completion`, but writes nothing.
class MessageFiling {
 public:
  MessageFiling(const Settings& settings, const LocalClock& clock,
                const std::optional<FilingTarget>& target,
                MessageCompletionListener* completion = nullptr);
  MessageFiling(const MessageFiling&) = delete;
  MessageFiling& operator=(const MessageFiling&) = delete;

  MessageLog& Log() { return log_; }
  FilingSummary Summary() const;

 private:
  LogFolder folder_;
  QuietStatus status_;
  ReportingDialogs dialogs_;
  ConsoleUiText text_;
  MessageLog log_;
};

// Makes the log folder and any folders missing above it. Returns what went wrong, or nothing
// when the folder is there now.
std::optional<std::string> CreateLogFolder(const std::filesystem::path& folder);

}  // namespace seaherald::decodetool
