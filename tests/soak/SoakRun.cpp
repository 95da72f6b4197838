#include "tests/soak/SoakRun.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "tests/soak/ResidentMemory.h"
#include "tests/soak/SeededLogs.h"
#include "tests/soak/SoakAudio.h"
#include "tests/soak/SoakSchedule.h"
#include "tests/soak/SoakUser.h"
#include "tests/soak/SoakWindow.h"

namespace seaherald::soak {
namespace {

using namespace std::chrono;

constexpr std::int64_t BlocksPerMinute = 60 * BlocksPerSecond;
constexpr std::int64_t BlocksPerHour = 60 * BlocksPerMinute;
constexpr std::int64_t UserActionEvery = 5 * BlocksPerMinute;
constexpr std::int64_t MemorySampleEvery = 10 * BlocksPerMinute;
constexpr std::int64_t WarmUpLongest = BlocksPerHour;
// The day the run starts on; the next midnight also ends a month.
constexpr year_month_day StartDay{year{2027}, February, day{28}};

double MiB(std::uint64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

Settings SoakSettings() {
  Settings settings;
  settings.AutoLogDelete = true;
  settings.DeleteDay = 1;
  return settings;
}

// The run starts so that midnight comes a few clean-up periods in, with a clean-up 30 s after
// it: the logs of the day before the start then expire while the run watches. A run shorter
// than an hour passes midnight half-way; the clean-up at closing then finds them expired.
LocalDateTime StartTime(double hours) {
  const seconds lead =
      hours < 1.0 ? seconds{static_cast<int>(hours * 1800.0)}
                  : seconds{std::min(static_cast<int>(hours), 3) * AutoDeleteIntervalSeconds - 30};
  const sys_seconds start = sys_days{StartDay} + days{1} - lead;
  const year_month_day date{floor<days>(start)};
  const hh_mm_ss time{start - floor<days>(start)};
  return {static_cast<int>(date.year()),
          static_cast<int>(unsigned{date.month()}),
          static_cast<int>(unsigned{date.day()}),
          static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()),
          static_cast<int>(time.seconds().count())};
}

class TempFolder {
 public:
  explicit TempFolder(bool keep) : keep_(keep) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-soak-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!keep_) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool keep_;
};

std::string ClockText(const LocalDateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

class SoakRunner {
 public:
  SoakRunner(const SoakOptions& options, std::ostream& out)
      : options_(options),
        out_(out),
        folder_(options.keepFolder),
        window_(SoakSettings(), StartTime(options.hours), folder_.Path() / "log"),
        schedule_(options.seed),
        audio_(schedule_, options.seed + 1),
        user_(options.seed + 2),
        memory_(static_cast<std::uint64_t>(options.slackMiB * 1024 * 1024)) {}

  bool Run();

 private:
  void Play(std::int64_t blocks, bool sampling);
  void PlayBlock();
  void SampleMemory(bool warmedUp);
  void Progress();
  bool Report(double wallSeconds);
  void WriteFates();

  const SoakOptions& options_;
  std::ostream& out_;
  TempFolder folder_;
  SoakWindow window_;
  SoakSchedule schedule_;
  SoakAudio audio_;
  SoakUser user_;
  MemoryWatch memory_;
  std::array<std::int16_t, BlockFrames * 2> block_{};
  std::vector<BroadcastPlan> beginning_;
  std::int64_t played_ = 0;
  std::int64_t warmUpBlocks_ = 0;
  steady_clock::time_point started_;
};

void SoakRunner::PlayBlock() {
  beginning_.clear();
  audio_.NextBlock(block_, beginning_);
  for (const BroadcastPlan& plan : beginning_)
    window_.Ledger().BroadcastBegins(plan, window_.Log().CurrentHeader());
  window_.ProcessBlock(block_);
  ++played_;
}

void SoakRunner::SampleMemory(bool warmedUp) {
  if (const std::optional<std::uint64_t> bytes = ResidentBytes()) memory_.Sample(*bytes, warmedUp);
}

void SoakRunner::Progress() {
  const duration<double> wall = steady_clock::now() - started_;
  const LedgerTotals& totals = window_.Ledger().Totals();
  char line[256];
  std::snprintf(line, sizeof line,
                "%6.1f h  %s  wall %6.0f s  resident %6.1f MiB  sent %5d  filed %5d  logs %4zu  "
                "failures %d\n",
                static_cast<double>(played_) / BlocksPerHour,
                ClockText(window_.Clock().Now()).c_str(), wall.count(), MiB(memory_.Last()),
                totals.sent, totals.FatesOf(Fate::FiledNew) + totals.FatesOf(Fate::FiledOverCopy),
                window_.Ledger().StoredLogs(), totals.failures);
  out_ << line << std::flush;
}

void SoakRunner::Play(std::int64_t blocks, bool sampling) {
  for (std::int64_t i = 0; i < blocks; ++i) {
    PlayBlock();
    if (!sampling) continue;
    if (played_ % UserActionEvery == 0) user_.Act(window_);
    if (played_ % MemorySampleEvery == 0) SampleMemory(played_ >= warmUpBlocks_);
    if (played_ % BlocksPerHour == 0) Progress();
  }
}

bool SoakRunner::Run() {
  started_ = steady_clock::now();
  SeedOldLogs(window_, schedule_, StartDay, options_.seed);
  window_.Start();
  SampleMemory(false);
  const auto blocks = static_cast<std::int64_t>(std::llround(options_.hours * BlocksPerHour));
  warmUpBlocks_ = std::min(WarmUpLongest, blocks / 4);
  out_ << "Soak of " << options_.hours << " simulated hours from "
       << ClockText(window_.Clock().Now()) << ", seed " << options_.seed << ", log folder "
       << folder_.Path().string() << "\n";
  Play(blocks, true);
  SampleMemory(true);

  // The programme ends; the last message either finishes or times out in the silence after.
  audio_.EndProgramme();
  while (!audio_.ProgrammeOver())
    Play(1, false);
  Play((SoakSettings().TimeOut + 10) * static_cast<std::int64_t>(BlocksPerSecond), false);
  window_.Ledger().Finish(window_.Log().CurrentHeader());
  window_.Close();
  const duration<double> wall = steady_clock::now() - started_;
  return Report(wall.count());
}

void SoakRunner::WriteFates() {
  const LedgerTotals& totals = window_.Ledger().Totals();
  out_ << "\n| condition | sent |";
  for (int f = 0; f < FateCount; ++f)
    out_ << " " << FateName(static_cast<Fate>(f)) << " |";
  out_ << "\n|---|---:|";
  for (int f = 0; f < FateCount; ++f)
    out_ << "---:|";
  out_ << "\n";
  for (int c = 0; c < ConditionCount; ++c) {
    const auto& row = totals.fates[static_cast<std::size_t>(c)];
    int sent = 0;
    for (const int n : row)
      sent += n;
    out_ << "| " << ConditionName(static_cast<Condition>(c)) << " | " << sent << " |";
    for (const int n : row)
      out_ << " " << n << " |";
    out_ << "\n";
  }
  out_ << "\nTaken under a header nobody sent (garbled into another valid one):";
  bool anyGarbled = false;
  for (int f = 0; f < FilingCount; ++f) {
    const int n = totals.garbled[static_cast<std::size_t>(f)];
    if (n == 0) continue;
    out_ << " " << FilingName(static_cast<Filing>(f)) << " " << n << ";";
    anyGarbled = true;
  }
  out_ << (anyGarbled ? "\n" : " none.\n");
}

bool SoakRunner::Report(double wallSeconds) {
  const LedgerTotals& totals = window_.Ledger().Totals();
  const double hours = static_cast<double>(played_) / BlocksPerHour;
  char text[512];
  out_ << "\n";
  const double processorSeconds = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
  std::snprintf(text, sizeof text,
                "Played %.2f simulated hours (%lld blocks) in %.0f s (%.0f s of processor time): "
                "%.2f simulated hours per minute.\n",
                hours, static_cast<long long>(played_), wallSeconds, processorSeconds,
                hours * 60.0 / wallSeconds);
  out_ << text << "Clock at the end: " << ClockText(window_.Clock().Now())
       << "; reception lamp lit " << window_.LimeBlocks() / BlocksPerSecond << " s.\n";
  std::snprintf(text, sizeof text,
                "Resident memory: start %.1f MiB, after warm-up %.1f MiB, peak %.1f MiB, end %.1f "
                "MiB; growth after warm-up %.2f MiB (allowed %.1f MiB)%s.\n",
                MiB(memory_.First()), MiB(memory_.Baseline()), MiB(memory_.Peak()),
                MiB(memory_.Last()), MiB(memory_.Growth()), options_.slackMiB,
                options_.memoryReportOnly ? ", not judged" : "");
  out_ << text;
  out_ << "Messages sent " << totals.sent << ", settled " << totals.Settled() << ":";
  WriteFates();
  out_ << "Logs: " << totals.seeded << " seeded from earlier days; automatic deletion ran "
       << totals.autoDeleteRuns << " times and removed "
       << totals.autoDeleted[static_cast<std::size_t>(Origin::Seeded)] << " seeded, "
       << totals.autoDeleted[static_cast<std::size_t>(Origin::Sent)] << " received, "
       << totals.autoDeleted[static_cast<std::size_t>(Origin::Garbled)] << " garbled-header logs; "
       << window_.Ledger().StoredLogs() << " logs at the end; " << totals.audits
       << " folder audits.\n";
  out_ << "Dialogs shown: " << window_.Dialogs().shown << ".\n";

  bool passed = true;
  auto check = [&](bool holds, const std::string& what) {
    if (!holds) {
      out_ << "FAILED: " << what << "\n";
      passed = false;
    }
  };
  check(totals.failures == 0, std::to_string(totals.failures) + " ledger failures");
  for (const std::string& failure : totals.failureTexts)
    out_ << "  " << failure << "\n";
  check(totals.Settled() == totals.sent && window_.Ledger().WaitingCount() == 0,
        "messages not settled");
  check(window_.Dialogs().shown == 0, "a dialog was shown");
  const int deleted = totals.autoDeleted[0] + totals.autoDeleted[1] + totals.autoDeleted[2];
  check(deleted > 0, "automatic deletion never deleted anything");
  check(options_.memoryReportOnly || !memory_.HasBaseline() || memory_.Flat(),
        "resident memory grew beyond the slack");
  out_ << (passed ? "PASSED" : "FAILED") << "\n";
  return passed;
}

}  // namespace

bool RunSoak(const SoakOptions& options, std::ostream& out) {
  SoakRunner runner(options, out);
  return runner.Run();
}

}  // namespace seaherald::soak
