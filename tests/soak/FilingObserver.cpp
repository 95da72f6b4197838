#include "tests/soak/FilingObserver.h"

#include <optional>

namespace seaherald::soak {
namespace {

std::optional<Filing> ChangedCount(const FilingCounts& before, const FilingCounts& after) {
  if (after.written != before.written) return Filing::Written;
  if (after.replaced != before.replaced) return Filing::Replaced;
  if (after.keptOlder != before.keptOlder) return Filing::KeptOlder;
  if (after.tooManyErrors != before.tooManyErrors) return Filing::TooManyErrors;
  if (after.writeFailed != before.writeFailed) return Filing::WriteFailed;
  if (after.interrupted != before.interrupted) return Filing::Interrupted;
  if (after.discarded != before.discarded) return Filing::TimedOut;
  if (after.newBroadcast != before.newBroadcast) return Filing::NewBroadcast;
  return std::nullopt;
}

}  // namespace

const char* FilingName(Filing filing) {
  switch (filing) {
    case Filing::Written:
      return "filed new";
    case Filing::Replaced:
      return "filed over a copy";
    case Filing::KeptOlder:
      return "stored copy better";
    case Filing::TooManyErrors:
      return "too many errors";
    case Filing::WriteFailed:
      return "write failed";
    case Filing::EmptyBody:
      return "empty body";
    case Filing::Interrupted:
      return "interrupted";
    case Filing::TimedOut:
      return "timed out";
    case Filing::NewBroadcast:
      return "next broadcast";
  }
  return "?";
}

bool IsEndOfMessage(Filing filing) {
  return filing != Filing::Interrupted && filing != Filing::TimedOut &&
         filing != Filing::NewBroadcast;
}

FilingObserver::FilingObserver(MessageLog& log, FilingListener& listener)
    : log_(log), listener_(listener) {}

FilingObserver::Before FilingObserver::Snapshot() const {
  return {log_.CurrentHeader(), log_.ErrorCount(), log_.MessageBody().empty(), log_.Counts()};
}

void FilingObserver::AddReceivedLine(const std::string& line, bool cut) {
  const Before before = Snapshot();
  log_.AddReceivedLine(line, cut);
  Report(before);
}

void FilingObserver::PhasingSeen() {
  const Before before = Snapshot();
  log_.PhasingSeen();
  Report(before);
}

void FilingObserver::DiscardMessage() {
  const Before before = Snapshot();
  log_.DiscardMessage();
  Report(before);
}

void FilingObserver::Report(const Before& before) {
  if (before.header.empty()) return;
  std::optional<Filing> filing = ChangedCount(before.counts, log_.Counts());
  // An end marker after an empty body ends the message without a count of its own.
  if (!filing && log_.CurrentHeader().empty()) filing = Filing::EmptyBody;
  if (!filing) return;
  listener_.OnFiling({before.header, *filing, before.errorCount, before.bodyEmpty});
}

}  // namespace seaherald::soak
