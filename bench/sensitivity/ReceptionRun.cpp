#include "bench/sensitivity/ReceptionRun.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "audio/BlockHandler.h"
#include "audio/RecordingClock.h"
#include "msglog/LogFileFormat.h"
#include "msglog/MessageLog.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::sensitivity {
namespace {

constexpr std::string_view CutMark = "...";
constexpr double LeadingSilenceSeconds = 0.5;
// Long enough for the last line to leave the filters and for an unfinished line to be cut.
constexpr double TrailingSilenceSeconds = 1.5;

class QuietStatus final : public StatusView {
 public:
  void SetStatusText(int, const std::string&) override {}
};

// A write failure would spoil the figures; it is reported rather than hidden.
class FailingDialogs final : public DialogService {
 public:
  void Beep() override {}
  void ShowError(const std::string&) override {
    throw std::runtime_error("the message log could not write into the scratch folder");
  }
  void ShowInformation(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
};

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& root) {
    std::string pattern = (root / "run-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a folder under " + root.string());
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The window's receive path with the program's default settings: block handler, message log and
// log folder, the clock driven by the audio. Records the lines it passes on.
class ReceivingWindow final : private LineSink, private BlockHandlerListener {
 public:
  ReceivingWindow(const std::filesystem::path& logFolder, ReceiverMode mode,
                  testsignal::Language language)
      : settings_(SettingsFor(mode, language)),
        folder_(logFolder),
        log_(settings_, clock_, folder_, status_, dialogs_),
        handler_(DecoderSettings{settings_.DecLang, settings_.DecInv, settings_.AutoSet,
                                 centerFrequency_, settings_.DecSens},
                 *this, settings_, clock_, *this) {}

  void Feed(std::span<const std::int16_t> mono) {
    std::array<std::int16_t, BlockFrames * 2> stereo{};
    for (std::size_t start = 0; start < mono.size(); start += BlockFrames) {
      stereo.fill(0);
      const std::size_t count = std::min<std::size_t>(BlockFrames, mono.size() - start);
      for (std::size_t frame = 0; frame < count; ++frame)
        stereo[frame * 2] = mono[start + frame];
      handler_.ProcessBlock(stereo);
      clock_.CountBlock();
    }
  }

  const std::vector<std::string>& Lines() const { return lines_; }
  int CutLines() const { return cutLines_; }
  const LogFolder& Folder() const { return folder_; }

 private:
  static Settings SettingsFor(ReceiverMode mode, testsignal::Language language) {
    Settings settings;
    if (mode == ReceiverMode::FixedLanguage) {
      settings.AutoSet = false;
      settings.DecLang = language == testsignal::Language::English;
    }
    return settings;
  }

  void AddReceivedLine(const std::string& line, bool cut) override {
    lines_.push_back(line);
    if (cut) ++cutLines_;
    log_.AddReceivedLine(line, cut);
  }
  void ShowLiveLine(const std::string& line) override { log_.ShowLiveLine(line); }

  void OnBlockDecoded() override {}
  void ShowClock(const std::string&) override {}
  void DiscardMessage() override { log_.DiscardMessage(); }
  void AutoDeleteLogs() override {}
  void SetLamp(bool) override {}
  void OnBlockDone() override {}

  Settings settings_;
  double centerFrequency_ = settings_.CentF * 10.0;
  RecordingClock clock_{LocalDateTime{2026, 3, 12, 9, 0, 0}};
  LogFolder folder_;
  QuietStatus status_;
  FailingDialogs dialogs_;
  MessageLog log_;
  BlockHandler handler_;
  std::vector<std::string> lines_;
  int cutLines_ = 0;
};

std::vector<std::int16_t> AudioOf(const SweepPoint& point, const SweepMessage& message,
                                  std::uint32_t seed) {
  testsignal::SignalOptions options;
  options.fsk.centerHz = ReceiverCentreHz;
  options.fsk.offsetHz = point.offsetHz;
  options.fsk.rateError = point.rateError;
  options.fsk.amplitude = AmplitudeFor(point.snrDb);
  options.snrDb = point.snrDb;
  options.seed = seed;
  options.leadingSilenceSeconds = LeadingSilenceSeconds;
  options.trailingSilenceSeconds = TrailingSilenceSeconds;
  return testsignal::ToPcm16(testsignal::Modulate(std::span(&message.broadcast, 1), options));
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The body lines of a log file, without the mark that a line was cut.
std::vector<std::string> StoredBody(const std::string& content) {
  std::vector<std::string> lines = SplitCrLfLines(
      content.size() >= kBodyFirstByte ? std::string_view(content).substr(kBodyFirstByte - 1)
                                       : std::string_view());
  for (std::string& line : lines) {
    if (line.ends_with(CutMark)) line.resize(line.size() - CutMark.size());
  }
  return lines;
}

}  // namespace

double AmplitudeFor(double snrDb) {
  const double noiseBandFraction =
      testsignal::SnrBandwidthHz / (testsignal::SignalSampleRate / 2.0);
  const double noiseOverSignal = std::pow(10.0, -snrDb / 10.0) / noiseBandFraction;
  return std::sqrt(2.0 * AudioRmsLevel * AudioRmsLevel / (1.0 + noiseOverSignal));
}

MessageOutcome ReceiveMessage(const SweepPoint& point, const SweepMessage& message,
                              std::uint32_t seed, ReceiverMode mode,
                              const std::filesystem::path& scratch) {
  const ScratchFolder folder(scratch);
  ReceivingWindow window(folder.Path() / "log", mode, message.broadcast.language);
  window.Feed(AudioOf(point, message, seed));

  MessageOutcome outcome;
  outcome.text = CompareLines(message.lines, window.Lines());
  outcome.cutLines = window.CutLines();
  const auto logPath = window.Folder().PathOf(message.header + ".txt");
  if (logPath && std::filesystem::is_regular_file(*logPath)) {
    outcome.filed = true;
    outcome.filedBody = CompareLines(message.body, StoredBody(ReadWhole(*logPath)));
  }
  return outcome;
}

}  // namespace seaherald::sensitivity
