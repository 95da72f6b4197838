#include "tests/soak/SoakLedger.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numeric>
#include <set>

#include "msglog/LogFileFormat.h"
#include "tests/support/ShiftJisText.h"

namespace seaherald::soak {
namespace {

constexpr std::size_t KeptFailureTexts = 40;
constexpr std::string_view LogSuffix = ".txt";

std::string Shown(const std::string& sjis) {
  try {
    return testsignal::ShiftJisToUtf8(sjis);
  } catch (const std::exception&) {
    return "(bytes)";
  }
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string DateText(std::chrono::sys_days date) {
  const std::chrono::year_month_day ymd{date};
  char text[16];
  std::snprintf(text, sizeof text, "%04d/%02u/%02u", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
  return text;
}

// Line 1 "Last received yyyy/mm/dd hh:mm:ss" and line 2 "Detected nnn error" of a log file.
struct StoredHead {
  std::string date;
  std::string count;
};

StoredHead HeadOf(const std::string& content) {
  const std::size_t firstEnd = content.find("\r\n");
  const std::size_t secondEnd =
      firstEnd == std::string::npos ? std::string::npos : content.find("\r\n", firstEnd + 2);
  if (secondEnd == std::string::npos) return {};
  const std::string line1 = content.substr(0, firstEnd);
  const std::string line2 = content.substr(firstEnd + 2, secondEnd - firstEnd - 2);
  return {line1.size() >= kDateLastChar ? line1.substr(kStampFirstChar - 1, 10) : "",
          line2.size() >= kCountLastChar ? line2.substr(kCountFirstChar - 1, 3) : ""};
}

Fate FateOf(Filing filing) {
  switch (filing) {
    case Filing::Written:
      return Fate::FiledNew;
    case Filing::Replaced:
      return Fate::FiledOverCopy;
    case Filing::KeptOlder:
      return Fate::StoredCopyBetter;
    case Filing::TooManyErrors:
      return Fate::TooManyErrors;
    case Filing::WriteFailed:
      return Fate::WriteFailed;
    case Filing::EmptyBody:
      return Fate::EmptyBody;
    case Filing::Interrupted:
      return Fate::Interrupted;
    case Filing::TimedOut:
      return Fate::TimedOut;
    case Filing::NewBroadcast:
      return Fate::NewBroadcast;
  }
  return Fate::HeaderLost;
}

}  // namespace

const char* FateName(Fate fate) {
  switch (fate) {
    case Fate::FiledNew:
      return "filed new";
    case Fate::FiledOverCopy:
      return "filed over a copy";
    case Fate::StoredCopyBetter:
      return "stored copy better";
    case Fate::TooManyErrors:
      return "too many errors";
    case Fate::WriteFailed:
      return "write failed";
    case Fate::EmptyBody:
      return "empty body";
    case Fate::Interrupted:
      return "interrupted";
    case Fate::TimedOut:
      return "timed out";
    case Fate::NewBroadcast:
      return "next broadcast";
    case Fate::HeaderLost:
      return "header lost";
  }
  return "?";
}

int LedgerTotals::Settled() const {
  int total = 0;
  for (const auto& row : fates)
    total = std::accumulate(row.begin(), row.end(), total);
  return total;
}

int LedgerTotals::FatesOf(Fate fate) const {
  int total = 0;
  for (const auto& row : fates)
    total += row[static_cast<std::size_t>(fate)];
  return total;
}

SoakLedger::SoakLedger(const Settings& settings, const LocalClock& clock, const LogFolder& folder)
    : settings_(settings), clock_(clock), folder_(folder) {}

std::chrono::sys_days SoakLedger::Today() const {
  const LocalDateTime now = clock_.Now();
  return std::chrono::year{now.year} / now.month / now.day;
}

void SoakLedger::Fail(const std::string& text) {
  ++totals_.failures;
  if (totals_.failureTexts.size() < KeptFailureTexts) totals_.failureTexts.push_back(text);
}

void SoakLedger::AddSeededLog(const std::string& header, std::chrono::sys_days date,
                              int errorCount) {
  stored_[header] = {date, errorCount, Origin::Seeded};
  ++totals_.seeded;
}

void SoakLedger::BroadcastBegins(const BroadcastPlan& plan, const std::string& currentHeader) {
  std::deque<SentMessage> stillWaiting;
  for (const SentMessage& broadcast : waiting_) {
    if (broadcast.header == currentHeader) {
      stillWaiting.push_back(broadcast);
    } else {
      Settle(broadcast, Fate::HeaderLost, nullptr);
    }
  }
  waiting_ = std::move(stillWaiting);
  waiting_.push_back({plan.serial, plan.condition, plan.header, plan.body, plan.MustBeFiled()});
  playing_ = plan.serial;
  ++totals_.sent;
}

std::optional<Filing> SoakLedger::ExpectedEnd(const FilingEvent& event) const {
  if (event.bodyEmpty) return Filing::EmptyBody;
  if (settings_.ErrSave && event.errorCount >= settings_.ErrNum) return Filing::TooManyErrors;
  const auto stored = stored_.find(event.header);
  if (stored == stored_.end()) return Filing::Written;
  return stored->second.errorCount >= event.errorCount ? Filing::Replaced : Filing::KeptOlder;
}

void SoakLedger::OnFiling(const FilingEvent& event) {
  if (IsEndOfMessage(event.filing) && event.filing != Filing::WriteFailed) {
    const std::optional<Filing> expected = ExpectedEnd(event);
    if (expected != event.filing) {
      Fail("filing of " + Shown(event.header) + " with " + std::to_string(event.errorCount) +
           " errors: expected " + FilingName(*expected) + ", got " + FilingName(event.filing));
    }
  }
  if (event.filing == Filing::WriteFailed) Fail("log of " + Shown(event.header) + " not written");

  const auto sent = std::find_if(waiting_.begin(), waiting_.end(),
                                 [&](const SentMessage& w) { return w.header == event.header; });
  const bool filed = event.filing == Filing::Written || event.filing == Filing::Replaced;
  if (filed) {
    stored_[event.header] = {Today(), event.errorCount,
                             sent == waiting_.end() ? Origin::Garbled : Origin::Sent};
  }
  if (sent == waiting_.end()) {
    ++totals_.garbled[static_cast<std::size_t>(event.filing)];
    return;
  }
  // A message ends at an end marker during its own broadcast. Ended while a later one plays, the
  // end marker (and lines before it) came from that later broadcast: had it been filed, another
  // broadcast's text would stand under its header.
  if (IsEndOfMessage(event.filing) && sent->serial != playing_) {
    Fail("message " + std::to_string(sent->serial) + " (" + Shown(sent->header) + ") " +
         FilingName(event.filing) + " while message " + std::to_string(playing_) +
         " played: another broadcast's end marker under its header");
  }
  const SentMessage broadcast = *sent;
  waiting_.erase(sent);
  Settle(broadcast, FateOf(event.filing), &event);
}

void SoakLedger::Settle(const SentMessage& broadcast, Fate fate, const FilingEvent* event) {
  ++totals_.fates[static_cast<std::size_t>(broadcast.condition)][static_cast<std::size_t>(fate)];
  if (!broadcast.mustBeFiled) return;
  if (fate != Fate::FiledNew && fate != Fate::FiledOverCopy) {
    Fail("message " + std::to_string(broadcast.serial) + " (" +
         std::string(ConditionName(broadcast.condition)) + ", " + Shown(broadcast.header) +
         ") not filed: " + FateName(fate));
    return;
  }
  CheckFiledWhole(broadcast, *event);
}

void SoakLedger::CheckFiledWhole(const SentMessage& broadcast, const FilingEvent& event) {
  const auto path = folder_.PathOf(broadcast.header + std::string(LogSuffix));
  const std::string content = path ? ReadWhole(path->string()) : std::string();
  const bool whole = event.errorCount == 0 && content.size() >= kBodyFirstByte - 1 &&
                     content.substr(kBodyFirstByte - 1) == broadcast.body;
  if (!whole) {
    Fail("message " + std::to_string(broadcast.serial) + " (" +
         std::string(ConditionName(broadcast.condition)) + ", " + Shown(broadcast.header) +
         ") filed with " + std::to_string(event.errorCount) + " errors or a body not as sent");
  }
}

void SoakLedger::BeforeAutoDelete() {
  const std::chrono::sys_days limit = Today() - std::chrono::days{settings_.DeleteDay};
  dueForDeletion_.clear();
  for (const auto& [header, log] : stored_) {
    if (log.date < limit) dueForDeletion_.push_back(header);
  }
}

void SoakLedger::AfterAutoDelete() {
  ++totals_.autoDeleteRuns;
  for (const std::string& header : dueForDeletion_) {
    ++totals_.autoDeleted[static_cast<std::size_t>(stored_.at(header).origin)];
    stored_.erase(header);
  }
  dueForDeletion_.clear();
  Audit("automatic deletion");
}

void SoakLedger::Finish(const std::string& currentHeader) {
  for (const SentMessage& broadcast : waiting_) {
    if (broadcast.header == currentHeader) {
      Fail("message " + std::to_string(broadcast.serial) + " still in progress at the end");
    }
    Settle(broadcast, Fate::HeaderLost, nullptr);
  }
  waiting_.clear();
}

void SoakLedger::Audit(const std::string& when) {
  ++totals_.audits;
  std::set<std::string> onDisk;
  for (const LogEntry& entry : folder_.ListLogFiles()) {
    const std::string header = entry.name.substr(0, entry.name.size() - LogSuffix.size());
    onDisk.insert(header);
    const auto expected = stored_.find(header);
    if (expected == stored_.end()) {
      Fail(when + ": log " + Shown(header) + " in the folder but not accounted for");
      continue;
    }
    const StoredHead head = HeadOf(ReadWhole(entry.path));
    char count[8];
    std::snprintf(count, sizeof count, "%03d", expected->second.errorCount);
    if (head.date != DateText(expected->second.date) || head.count != count) {
      Fail(when + ": log " + Shown(header) + " dated " + head.date + " with count " + head.count +
           ", expected " + DateText(expected->second.date) + " and " + count);
    }
  }
  for (const auto& [header, log] : stored_) {
    if (!onDisk.contains(header)) Fail(when + ": log " + Shown(header) + " missing");
  }
}

}  // namespace seaherald::soak
