// The block handler with one receiver and with two: the second receiver may cost at most as much
// as the first, so two take at most twice one's processor time. The summary at the end sets the
// figures side by side.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "audio/BlockHandler.h"

namespace seaherald {
namespace {

constexpr int SignalBlocks = 64;
constexpr double BlockSeconds = 0.1;

// Random 100-baud FSK with some noise on each channel, bits and noise of their own but alike, so
// that either receiver alone has the same work; interleaved as the capture delivers it.
std::vector<std::int16_t> StereoFsk() {
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0, 1000);
  std::vector<std::int16_t> audio(std::size_t(SignalBlocks) * BlockFrames * 2);
  const double centres[2] = {800, 800};
  double phases[2] = {0, 0};
  double hz[2] = {885, 885};
  for (std::size_t frame = 0; frame < audio.size() / 2; ++frame) {
    for (int channel = 0; channel < 2; ++channel) {
      if (frame % 441 == 0) hz[channel] = centres[channel] + ((random() & 1) ? 85 : -85);
      phases[channel] = std::fmod(phases[channel] + 2 * std::numbers::pi * hz[channel] / 44100,
                                  2 * std::numbers::pi);
      const double sample = 8000 * std::sin(phases[channel]) + noise(random);
      audio[frame * 2 + std::size_t(channel)] =
          static_cast<std::int16_t>(std::round(std::clamp(sample, -32768.0, 32767.0)));
    }
  }
  return audio;
}

class NullSink final : public LineSink {
 public:
  void AddReceivedLine(const std::string& line, bool) override { benchmark::DoNotOptimize(line); }
  void ShowLiveLine(const std::string& line) override { benchmark::DoNotOptimize(line); }
};

class NullListener final : public BlockHandlerListener {
 public:
  void OnBlockDecoded() override {}
  void ShowClock(const std::string&) override {}
  void DiscardMessage() override {}
  void AutoDeleteLogs() override {}
  void SetLamp(bool lime) override { benchmark::DoNotOptimize(lime); }
  void OnBlockDone() override {}
};

class FixedClock final : public LocalClock {
 public:
  LocalDateTime Now() const override { return {2026, 12, 8, 15, 0, 0}; }
};

// One captured block through the handler: arguments are the receivers (1 or 2) and the receive
// path (0 standard, 1 high-sensitivity).
void BM_BlockHandler(benchmark::State& state) {
  const std::vector<std::int16_t> audio = StereoFsk();
  Settings settings;
  settings.DecLang = settings.DecLang2 = true;
  settings.DecSens = settings.DecSens2 = state.range(1) != 0;
  settings.Receiver2 = state.range(0) == 2;
  double center = 800, center2 = 800;
  NullSink lines, lines2;
  NullListener listener;
  FixedClock clock;
  BlockHandler handler(DecoderSettings{settings.DecLang, settings.DecInv, settings.AutoSet, center,
                                       settings.DecSens},
                       lines, settings, clock, listener);
  handler.AddSecondReceiver(DecoderSettings{settings.DecLang2, settings.DecInv2, settings.AutoSet2,
                                            center2, settings.DecSens2},
                            lines2);
  std::size_t block = 0;
  for (auto _ : state) {
    handler.ProcessBlock(StereoBlock(audio.data() + block * BlockFrames * 2, BlockFrames * 2));
    benchmark::DoNotOptimize(handler.GetDecoder().TuningOffset());
    block = (block + 1) % SignalBlocks;
  }
  state.SetLabel(std::string(state.range(0) == 2 ? "two receivers" : "one receiver") +
                 (state.range(1) != 0 ? ", sensitive" : ", standard"));
  state.counters["x realtime"] =
      benchmark::Counter(double(state.iterations()) * BlockSeconds, benchmark::Counter::kIsRate);
}
// Repeated, and the median taken, so that other work on the machine sways the ratio less.
BENCHMARK(BM_BlockHandler)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->ArgNames({"receivers", "sensitive"})
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The usual table, then per receive path one receiver's and two receivers' median processor time
// per block side by side, with their ratio against the limit of 2.
class SideBySideReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
      const std::string name = run.run_name.str();
      const bool two = name.find("receivers:2") != std::string::npos;
      const bool sensitive = name.find("sensitive:1") != std::string::npos;
      const double microseconds = run.GetAdjustedCPUTime() *
                                  benchmark::GetTimeUnitMultiplier(benchmark::kMicrosecond) /
                                  benchmark::GetTimeUnitMultiplier(run.time_unit);
      perBlock_[sensitive][two ? 1 : 0] = microseconds;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nCPU time per block    one receiver  two receivers  ratio (limit 2.00)\n");
    for (const auto& [sensitive, times] : perBlock_) {
      if (times[0] <= 0 || times[1] <= 0) continue;
      std::printf("%-20s %10.1f us  %10.1f us  %5.2f %s\n",
                  sensitive ? "sensitive path" : "standard path", times[0], times[1],
                  times[1] / times[0], times[1] / times[0] <= 2.0 ? "ok" : "OVER");
    }
  }

 private:
  std::map<bool, std::array<double, 2>> perBlock_;
};

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  seaherald::SideBySideReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
