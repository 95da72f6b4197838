#include "bench/sensitivity/ReceptionRun.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>

#include "msglog/LogFileFormat.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/TestSignal.h"

namespace seaherald::sensitivity {
namespace {

constexpr std::string_view CutMark = "...";
constexpr double LeadingSilenceSeconds = 0.5;
// Long enough for the last line to leave the filters and for an unfinished line to be cut.
constexpr double TrailingSilenceSeconds = 1.5;

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
  if (point.crashes) options.impulses = ImpulsesFor(*point.crashes);
  return testsignal::ToPcm16(testsignal::Modulate(std::span(&message.broadcast, 1), options));
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

double FadeStartPhase(std::uint32_t seed) {
  // Steps of the golden ratio's fraction fill the period evenly for any run of seeds.
  constexpr double Step = 0.6180339887498949;
  return std::fmod(static_cast<double>(seed) * Step, 1.0);
}

MessageOutcome ReceiveAudio(std::span<const std::int16_t> audio, const SweepMessage& message,
                            ReceivePath path, ReceiverMode mode,
                            const std::filesystem::path& scratch) {
  const ScratchFolder folder(scratch);
  ReceivingWindow window(folder.Path() / "log", path, mode, message.broadcast.language);
  window.Feed(audio);

  MessageOutcome outcome;
  outcome.audioDigest = window.AudioDigest();
  outcome.text = CompareLines(message.lines, window.Lines());
  outcome.cutLines = window.CutLines();
  const auto logPath = window.Folder().PathOf(message.header + ".txt");
  if (logPath && std::filesystem::is_regular_file(*logPath)) {
    outcome.filed = true;
    outcome.filedBody = CompareLines(message.body, StoredBody(ReadWhole(*logPath)));
  }
  return outcome;
}

MessageOutcome ReceiveMessage(const SweepPoint& point, const SweepMessage& message,
                              std::uint32_t seed, ReceivePath path, ReceiverMode mode,
                              const std::filesystem::path& scratch) {
  return ReceiveAudio(MessageAudio(point, message, seed), message, path, mode, scratch);
}

}  // namespace seaherald::sensitivity
