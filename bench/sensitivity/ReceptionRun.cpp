#include "bench/sensitivity/ReceptionRun.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

#include "msglog/LogFileFormat.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::sensitivity {
namespace {

constexpr std::string_view CutMark = "...";
constexpr double LeadingSilenceSeconds = 0.5;
// Long enough for the last line to leave the filters and for an unfinished line to be cut: the
// sensitive path holds sync through three seconds of noise before it lets go.
constexpr double TrailingSilenceSeconds = 4.0;

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

// The body stored under the header sent against the body sent; nothing when no file is there.
std::optional<CharacterErrors> StoredErrors(const ReceivingWindow& window,
                                            const SweepMessage& message) {
  const auto logPath = window.Folder().PathOf(message.header + ".txt");
  if (!logPath || !std::filesystem::is_regular_file(*logPath)) return std::nullopt;
  return CompareLines(message.body, StoredBody(ReadWhole(*logPath)));
}

int ForeignLogs(const ReceivingWindow& window, const SweepMessage& message) {
  int foreign = 0;
  for (const LogEntry& entry : window.Folder().ListLogFiles()) {
    if (entry.name != message.header + ".txt") ++foreign;
  }
  return foreign;
}

}  // namespace

std::vector<std::int16_t> MessageAudio(const SweepPoint& point, const SweepMessage& message,
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
  if (point.fading) {
    options.fading = point.fading;
    options.fading->startPhase = FadeStartPhase(seed);
  }
  if (point.crashes && point.bursts) {
    throw std::invalid_argument("crashes and bursts are measured one at a time");
  }
  if (point.crashes) options.impulses = ImpulsesFor(*point.crashes);
  if (point.bursts) options.impulses = ImpulsesFor(*point.bursts);
  if (point.channel) options.channel = point.channel->paths;
  return testsignal::ToPcm16(testsignal::Modulate(std::span(&message.broadcast, 1), options));
}

std::vector<std::int16_t> CleanAudio(const SweepPoint& point, const SweepMessage& message,
                                     std::uint32_t seed) {
  constexpr double CleanSnrDb = 30.0;
  return MessageAudio({.language = point.language, .snrDb = CleanSnrDb}, message, seed);
}

double AmplitudeFor(double snrDb) {
  const double noiseBandFraction =
      testsignal::SnrBandwidthHz / (testsignal::SignalSampleRate / 2.0);
  const double noiseOverSignal = std::pow(10.0, -snrDb / 10.0) / noiseBandFraction;
  return std::sqrt(2.0 * AudioRmsLevel * AudioRmsLevel / (1.0 + noiseOverSignal));
}

testsignal::ImpulseParameters ImpulsesFor(const CrashModel& crashes) {
  return {.ratePerSecond = crashes.ratePerSecond,
          .peakRms = AudioRmsLevel * std::pow(10.0, crashes.levelDb / 20.0)};
}

testsignal::ImpulseParameters ImpulsesFor(const BurstModel& bursts) {
  constexpr double TailSeconds = 0.0002;  // cut off after five of these
  return {.ratePerSecond = bursts.ratePerSecond,
          .peakRms = AudioRmsLevel * std::pow(10.0, bursts.levelDb / 20.0),
          .decaySeconds = TailSeconds,
          .holdSeconds = bursts.durationMs / 1000.0};
}

double FadeStartPhase(std::uint32_t seed) {
  // Steps of the golden ratio's fraction fill the period evenly for any run of seeds.
  constexpr double Step = 0.6180339887498949;
  return std::fmod(static_cast<double>(seed) * Step, 1.0);
}

MessageOutcome ReceiveAudio(std::span<const std::int16_t> audio, const SweepMessage& message,
                            ReceivePath path, ReceiverMode mode,
                            const std::filesystem::path& scratch,
                            std::span<const std::int16_t> cleanFirst) {
  const ScratchFolder folder(scratch);
  ReceivingWindow window(folder.Path() / "log", path, mode, message.broadcast.language);
  std::optional<CharacterErrors> before;
  if (!cleanFirst.empty()) {
    window.Feed(cleanFirst);
    before = StoredErrors(window, message);
    window.ForgetLines();
  }
  window.Feed(audio);

  MessageOutcome outcome;
  outcome.audioDigest = window.AudioDigest();
  outcome.text = CompareLines(message.lines, window.Lines());
  outcome.cutLines = window.CutLines();
  const std::optional<CharacterErrors> stored = StoredErrors(window, message);
  if (stored) {
    outcome.filed = true;
    outcome.filedBody = *stored;
  }
  outcome.foreignLogs = ForeignLogs(window, message);
  outcome.cleanCopyFiled = before.has_value();
  outcome.replacedByWorse = before && (!stored || stored->errors > before->errors);
  return outcome;
}

MessageOutcome ReceiveMessage(const SweepPoint& point, const SweepMessage& message,
                              std::uint32_t seed, ReceivePath path, ReceiverMode mode,
                              const std::filesystem::path& scratch) {
  return ReceiveAudio(MessageAudio(point, message, seed), message, path, mode, scratch);
}

}  // namespace seaherald::sensitivity
