// The soak's own machinery must catch what it is there to catch: a lost message, a log that
// should not be there, a wrong filing decision, memory that grows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "audio/RecordingClock.h"
#include "msglog/LogFileFormat.h"
#include "msglog/MessageLog.h"
#include "tests/soak/FilingObserver.h"
#include "tests/soak/ResidentMemory.h"
#include "tests/soak/SoakAudio.h"
#include "tests/soak/SoakLedger.h"
#include "tests/soak/SoakOptions.h"
#include "tests/soak/SoakRun.h"
#include "tests/soak/SoakSchedule.h"

namespace seaherald::soak {
namespace {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-soak-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class FixedClock final : public LocalClock {
 public:
  LocalDateTime now{2027, 3, 1, 10, 0, 0};
  LocalDateTime Now() const override { return now; }
};

class NoStatus final : public StatusView {
 public:
  void SetStatusText(int, const std::string&) override {}
};

class NoDialogs final : public DialogService {
 public:
  void Beep() override {}
  void ShowError(const std::string&) override {}
  void ShowInformation(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
};

// The message log with the ledger watching, fed lines by hand.
class LedgerHarness : public testing::Test {
 protected:
  LedgerHarness()
      : folder_(temp_.Path() / "log"),
        log_(settings_, clock_, folder_, status_, dialogs_),
        ledger_(settings_, clock_, folder_),
        observer_(log_, ledger_) {
    settings_.DecLang = true;
    settings_.DeleteDay = 1;
  }

  BroadcastPlan Plan(int serial, const std::string& header, Condition condition) {
    BroadcastPlan plan;
    plan.serial = serial;
    plan.header = header;
    plan.condition = condition;
    plan.body = "LINE ONE\r\nLINE TWO\r\n";
    return plan;
  }

  void Begin(const BroadcastPlan& plan) { ledger_.BroadcastBegins(plan, log_.CurrentHeader()); }

  void Receive(const std::string& header, int cutLines = 0, bool end = true) {
    observer_.AddReceivedLine("ZCZC " + header, false);
    observer_.AddReceivedLine("LINE ONE", false);
    observer_.AddReceivedLine("LINE TWO", false);
    for (int i = 0; i < cutLines; ++i)
      observer_.AddReceivedLine("LINE", true);
    if (end) observer_.AddReceivedLine("NNNN", false);
  }

  const LedgerTotals& Totals() const { return ledger_.Totals(); }
  int Fates(Condition condition, Fate fate) const {
    return Totals().fates[static_cast<std::size_t>(condition)][static_cast<std::size_t>(fate)];
  }

  TempFolder temp_;
  Settings settings_;
  FixedClock clock_;
  LogFolder folder_;
  NoStatus status_;
  NoDialogs dialogs_;
  MessageLog log_;
  SoakLedger ledger_;
  FilingObserver observer_;
};

TEST_F(LedgerHarness, CleanMessageFiledWholeSettlesWithoutFailure) {
  Begin(Plan(1, "GA12", Condition::Clean));
  Receive("GA12");
  ledger_.Finish(log_.CurrentHeader());
  ledger_.Audit("end");
  EXPECT_EQ(Fates(Condition::Clean, Fate::FiledNew), 1);
  EXPECT_EQ(Totals().Settled(), Totals().sent);
  EXPECT_EQ(Totals().failures, 0) << testing::PrintToString(Totals().failureTexts);
}

TEST_F(LedgerHarness, CleanMessageThatNeverStartsIsAFailure) {
  Begin(Plan(1, "GA12", Condition::Clean));
  Begin(Plan(2, "GA13", Condition::Noisy));  // the first one's header never came
  EXPECT_EQ(Fates(Condition::Clean, Fate::HeaderLost), 1);
  EXPECT_EQ(Totals().failures, 1);
}

// A message that lost its end marker, then a broadcast whose start line was lost: the second
// one's end marker must not file the first one's header.
TEST_F(LedgerHarness, MessageFiledWhileALaterBroadcastPlaysIsAFailure) {
  Begin(Plan(1, "GA12", Condition::BrokenOff));
  Receive("GA12", 0, false);
  Begin(Plan(2, "GA13", Condition::Noisy));
  observer_.AddReceivedLine("LINE TWO", false);
  observer_.AddReceivedLine("NNNN", false);
  EXPECT_EQ(Fates(Condition::BrokenOff, Fate::FiledNew), 1);
  ASSERT_EQ(Totals().failures, 1);
  EXPECT_NE(Totals().failureTexts[0].find("filed new while message 2 played"), std::string::npos);
}

TEST_F(LedgerHarness, PhasingOfTheNextBroadcastSettlesTheOpenMessage) {
  Begin(Plan(1, "GA12", Condition::BrokenOff));
  Receive("GA12", 0, false);
  Begin(Plan(2, "GA13", Condition::Noisy));
  observer_.PhasingSeen();
  observer_.AddReceivedLine("LINE TWO", false);
  observer_.AddReceivedLine("NNNN", false);
  EXPECT_EQ(Fates(Condition::BrokenOff, Fate::NewBroadcast), 1);
  EXPECT_EQ(Totals().failures, 0) << testing::PrintToString(Totals().failureTexts);
  EXPECT_TRUE(folder_.ListLogFiles().empty());
}

TEST_F(LedgerHarness, CleanMessageFiledWithErrorsIsAFailure) {
  Begin(Plan(1, "GA12", Condition::Clean));
  Receive("GA12", 2);
  EXPECT_EQ(Fates(Condition::Clean, Fate::FiledNew), 1);
  EXPECT_EQ(Totals().failures, 1);
}

TEST_F(LedgerHarness, SecondCopyFollowsTheFewerErrorsRule) {
  Begin(Plan(1, "GA12", Condition::Noisy));
  Receive("GA12", 3);
  Begin(Plan(2, "GA12", Condition::Noisy));
  Receive("GA12", 5);
  Begin(Plan(3, "GA12", Condition::Threshold));
  Receive("GA12", 12);  // beyond ErrNum
  Begin(Plan(4, "GA12", Condition::Noisy));
  Receive("GA12", 1);
  ledger_.Audit("end");
  EXPECT_EQ(Fates(Condition::Noisy, Fate::FiledNew), 1);
  EXPECT_EQ(Fates(Condition::Noisy, Fate::StoredCopyBetter), 1);
  EXPECT_EQ(Fates(Condition::Threshold, Fate::TooManyErrors), 1);
  EXPECT_EQ(Fates(Condition::Noisy, Fate::FiledOverCopy), 1);
  EXPECT_EQ(Totals().failures, 0) << testing::PrintToString(Totals().failureTexts);
}

TEST_F(LedgerHarness, UnfinishedMessagesEndByInterruptionOrTimeOut) {
  Begin(Plan(1, "GA12", Condition::BrokenOff));
  Receive("GA12", 0, false);
  Begin(Plan(2, "GA13", Condition::BrokenOff));  // GA12 still in progress: still waiting
  Receive("GA13", 0, false);                     // its start interrupts GA12
  observer_.DiscardMessage();                    // the time-out drops GA13
  ledger_.Finish(log_.CurrentHeader());
  EXPECT_EQ(Fates(Condition::BrokenOff, Fate::Interrupted), 1);
  EXPECT_EQ(Fates(Condition::BrokenOff, Fate::TimedOut), 1);
  EXPECT_EQ(Totals().Settled(), 2);
  EXPECT_EQ(Totals().failures, 0);
}

TEST_F(LedgerHarness, MessageUnderAHeaderNobodySentIsCountedApart) {
  Begin(Plan(1, "GA12", Condition::Threshold));
  Receive("GA17");  // garbled into another valid header
  ledger_.Finish(log_.CurrentHeader());
  ledger_.Audit("end");
  EXPECT_EQ(Totals().garbled[static_cast<std::size_t>(Filing::Written)], 1);
  EXPECT_EQ(Fates(Condition::Threshold, Fate::HeaderLost), 1);
  EXPECT_EQ(Totals().failures, 0) << testing::PrintToString(Totals().failureTexts);
}

TEST_F(LedgerHarness, AuditFindsStrayMissingAndAlteredLogs) {
  Begin(Plan(1, "GA12", Condition::Noisy));
  Receive("GA12");
  Begin(Plan(2, "GB12", Condition::Noisy));
  Receive("GB12");
  ASSERT_TRUE(folder_.WriteFile("XX99.txt", ComposeLogFile(clock_.now, 0, "STRAY\r\n")));
  ASSERT_TRUE(folder_.WriteFile("GA12.txt", ComposeLogFile(clock_.now, 7, "CHANGED\r\n")));
  ASSERT_TRUE(folder_.RemoveFile(*folder_.PathOf("GB12.txt")));
  ledger_.Audit("test");
  EXPECT_EQ(Totals().failures, 3) << testing::PrintToString(Totals().failureTexts);
}

TEST_F(LedgerHarness, AutomaticDeletionMustRemoveExactlyTheExpiredLogs) {
  using namespace std::chrono;
  const sys_days today = year{2027} / 3 / 1;
  for (const auto& [header, age] : {std::pair{"GA01", 0}, {"GA02", 1}, {"GA03", 2}}) {
    const year_month_day date{today - days{age}};
    const LocalDateTime savedAt{static_cast<int>(date.year()),
                                static_cast<int>(unsigned{date.month()}),
                                static_cast<int>(unsigned{date.day()}),
                                12,
                                0,
                                0};
    ASSERT_TRUE(
        folder_.WriteFile(std::string(header) + ".txt", ComposeLogFile(savedAt, 0, "X\r\n")));
    ledger_.AddSeededLog(header, today - days{age}, 0);
  }
  // A clean-up that deletes nothing leaves the expired log behind: a failure.
  ledger_.BeforeAutoDelete();
  ledger_.AfterAutoDelete();
  EXPECT_EQ(Totals().failures, 1) << testing::PrintToString(Totals().failureTexts);
  EXPECT_EQ(Totals().autoDeleted[static_cast<std::size_t>(Origin::Seeded)], 1);
  EXPECT_EQ(ledger_.StoredLogs(), 2u);
}

TEST(FilingObserverTest, EndMarkerAfterAnEmptyBodyIsReported) {
  TempFolder temp;
  Settings settings;
  settings.DecLang = true;
  FixedClock clock;
  LogFolder folder(temp.Path());
  NoStatus status;
  NoDialogs dialogs;
  MessageLog log(settings, clock, folder, status, dialogs);
  struct Recorder final : FilingListener {
    std::vector<FilingEvent> events;
    void OnFiling(const FilingEvent& event) override { events.push_back(event); }
  } recorder;
  FilingObserver observer(log, recorder);
  observer.AddReceivedLine("ZCZC GA12", false);
  observer.AddReceivedLine("NNNN", false);
  observer.AddReceivedLine("NNNN", false);  // no message in progress: nothing to report
  ASSERT_EQ(recorder.events.size(), 1u);
  EXPECT_EQ(recorder.events[0].filing, Filing::EmptyBody);
  EXPECT_TRUE(recorder.events[0].bodyEmpty);
  EXPECT_EQ(recorder.events[0].header, "GA12");
}

TEST(ResidentMemoryTest, ReadsTheResidentField) {
  EXPECT_EQ(ResidentPagesOfStatm("12345 678 90 1 0 2 0"), 678u);
  EXPECT_FALSE(ResidentPagesOfStatm("12345").has_value());
  EXPECT_FALSE(ResidentPagesOfStatm("12345 x").has_value());
  const auto bytes = ResidentBytes();
  ASSERT_TRUE(bytes.has_value());
  EXPECT_GT(*bytes, 0u);
}

TEST(ResidentMemoryTest, GrowthCountsOnlyAfterWarmUp) {
  MemoryWatch watch(1000);
  watch.Sample(50000, false);  // warm-up may grow freely
  watch.Sample(90000, false);
  watch.Sample(100000, true);
  watch.Sample(100800, true);
  EXPECT_EQ(watch.Growth(), 800u);
  EXPECT_TRUE(watch.Flat());
  watch.Sample(101500, true);
  EXPECT_FALSE(watch.Flat());
  EXPECT_EQ(watch.First(), 50000u);
  EXPECT_EQ(watch.Last(), 101500u);
}

TEST(SoakAudioTest, EveryBroadcastIsAnnouncedOnceInOrderAndStaticSaturates) {
  SoakSchedule schedule(5);
  SoakAudio audio(schedule, 6);
  std::array<std::int16_t, BlockFrames * 2> block{};
  std::vector<BroadcastPlan> beginning;
  bool saturated = false;
  for (int i = 0; i < 20 * 60 * BlocksPerSecond; ++i) {  // 20 minutes
    audio.NextBlock(block, beginning);
    for (std::size_t f = 0; f < BlockFrames; ++f) {
      saturated = saturated || block[f * 2] == 32767 || block[f * 2] == -32768;
      ASSERT_EQ(block[f * 2 + 1], std::clamp(-block[f * 2], -32768, 32767));
    }
  }
  ASSERT_GE(beginning.size(), 5u);
  for (std::size_t i = 0; i < beginning.size(); ++i)
    EXPECT_EQ(beginning[i].serial, static_cast<int>(i) + 1);
  EXPECT_TRUE(saturated);
}

TEST(SoakRunTest, ShortSoakAccountsForEveryMessage) {
  SoakOptions options;
  options.hours = 0.1;
  options.memoryReportOnly = true;
  std::ostringstream report;
  EXPECT_TRUE(RunSoak(options, report)) << report.str();
  EXPECT_NE(report.str().find("PASSED"), std::string::npos);
}

TEST(SoakOptionsTest, ReadsAndRejects) {
  const std::vector<std::string> args{"--hours", "2.5", "--seed", "9", "--memory-report-only"};
  const SoakOptions options = ParseSoakOptions(args);
  EXPECT_DOUBLE_EQ(options.hours, 2.5);
  EXPECT_EQ(options.seed, 9u);
  EXPECT_TRUE(options.memoryReportOnly);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--hours", "0"},
                                             {"--hours"},
                                             {"--seed", "-1"},
                                             {"--slack-mib", "x"},
                                             {"--days", "1"}}) {
    EXPECT_THROW(ParseSoakOptions(bad), std::invalid_argument) << testing::PrintToString(bad);
  }
}

}  // namespace
}  // namespace seaherald::soak
