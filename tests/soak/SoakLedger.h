#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "msglog/LogFolder.h"
#include "platform/LocalClock.h"
#include "tests/soak/FilingObserver.h"
#include "tests/soak/SoakPlan.h"

namespace seaherald::soak {

// The fate of a message that was sent.
enum class Fate {
  FiledNew,
  FiledOverCopy,
  StoredCopyBetter,
  TooManyErrors,
  WriteFailed,
  EmptyBody,
  Interrupted,
  TimedOut,
  NewBroadcast,  // broken off at the phasing of the next broadcast
  HeaderLost,    // the receiver never took its start marker and header
};
inline constexpr int FateCount = 10;
const char* FateName(Fate fate);

// Where a log file in the folder came from.
enum class Origin { Seeded, Sent, Garbled };
inline constexpr int OriginCount = 3;

struct LedgerTotals {
  int sent = 0;
  std::array<std::array<int, FateCount>, ConditionCount> fates{};
  // Messages that the receiver took under a header nobody sent (a header garbled into another
  // valid one), by what became of them.
  std::array<int, FilingCount> garbled{};
  int seeded = 0;
  std::array<int, OriginCount> autoDeleted{};
  int autoDeleteRuns = 0;
  int audits = 0;
  int failures = 0;
  std::vector<std::string> failureTexts;  // the first few

  int Settled() const;
  int FatesOf(Fate fate) const;
};

// Keeps account of every message sent and every log file, and checks the receiver against it:
// each message sent ends in exactly one fate; a message sent clean is filed whole; filing
// follows the rules for errors and for stored copies; automatic deletion removes exactly the
// logs older than DeleteDay days; the folder holds exactly the logs the account expects, with
// their dates and error counts.
class SoakLedger final : public FilingListener {
 public:
  SoakLedger(const Settings& settings, const LocalClock& clock, const LogFolder& folder);

  // A log file that lay in the folder before the run.
  void AddSeededLog(const std::string& header, std::chrono::sys_days date, int errorCount);
  // A broadcast's audio begins. Broadcasts still waiting whose header is not the message in
  // progress (`currentHeader`) never started: their header was lost.
  void BroadcastBegins(const BroadcastPlan& plan, const std::string& currentHeader);
  void OnFiling(const FilingEvent& event) override;
  void BeforeAutoDelete();
  void AfterAutoDelete();
  // Settles what is still waiting; call after the last message has timed out.
  void Finish(const std::string& currentHeader);
  // Compares the folder with the account; differences are failures.
  void Audit(const std::string& when);

  const LedgerTotals& Totals() const { return totals_; }
  int WaitingCount() const { return static_cast<int>(waiting_.size()); }
  std::size_t StoredLogs() const { return stored_.size(); }

 private:
  struct SentMessage {
    int serial;
    Condition condition;
    std::string header;
    std::string body;
    bool mustBeFiled;
  };
  struct StoredLog {
    std::chrono::sys_days date;
    int errorCount;
    Origin origin;
  };

  std::chrono::sys_days Today() const;
  std::optional<Filing> ExpectedEnd(const FilingEvent& event) const;
  void Settle(const SentMessage& broadcast, Fate fate, const FilingEvent* event);
  void CheckFiledWhole(const SentMessage& broadcast, const FilingEvent& event);
  void Fail(const std::string& text);

  const Settings& settings_;
  const LocalClock& clock_;
  const LogFolder& folder_;
  std::deque<SentMessage> waiting_;
  int playing_ = 0;                          // serial of the broadcast whose audio began last
  std::map<std::string, StoredLog> stored_;  // by Shift-JIS header
  std::vector<std::string> dueForDeletion_;
  LedgerTotals totals_;
};

}  // namespace seaherald::soak
