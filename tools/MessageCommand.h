#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "msglog/CompletedMessage.h"

namespace seaherald::decodetool {

// How --on-message runs its command.
struct CommandSettings {
  std::string command;
  bool shell = false;  // through /bin/sh -c; otherwise split into words and run directly
  int seconds = 10;    // time limit of one run
};

// The words of a command line: separated by blanks, with '...' and "..." quoting (no escapes,
// no expansions). Nothing when a quote is not closed or there is no word.
std::optional<std::vector<std::string>> SplitCommandWords(std::string_view command);

// The SEAHERALD_* variables that describe a message to the command, as NAME=VALUE in UTF-8.
std::vector<std::string> MessageEnvironment(const CompletedMessage& message);

// Runs a command for every message the log filed or could not write (or, when it files nothing,
// every message it completed and took): the text in UTF-8 with LF line ends on standard input, the
// message in SEAHERALD_* variables; what it prints goes to standard error, so that standard output
// keeps the tool's own format. Each run goes on beside the decoding in its own process group; one
// that outlives its time limit is killed, and a failure is reported, so that no command can stop
// reception.
class MessageCommand final : public MessageCompletionListener {
 public:
  MessageCommand(CommandSettings settings, std::function<void(const std::string&)> report);
  // Waits for the runs still going, each at most its time limit.
  ~MessageCommand() override;
  MessageCommand(const MessageCommand&) = delete;
  MessageCommand& operator=(const MessageCommand&) = delete;

  void MessageCompleted(const CompletedMessage& message) override;

 private:
  struct Run {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void JoinFinished();

  CommandSettings settings_;
  std::vector<std::string> words_;
  std::function<void(const std::string&)> report_;
  std::list<Run> runs_;
};

}  // namespace seaherald::decodetool
