#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "decoder/Decoder.h"
#include "tests/decoder/ReferenceDemodulator.h"

namespace seaherald {
namespace {

constexpr int SignalBlocks = 64;
constexpr double BlockSeconds = 0.1;

// Random 100-baud FSK around 800 Hz with some noise, as 16-bit sample values.
std::vector<double> FskSignal() {
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0, 1000);
  std::vector<double> audio(std::size_t(SignalBlocks) * BlockFrames);
  double phase = 0;
  double hz = 885;
  for (std::size_t i = 0; i < audio.size(); ++i) {
    if (i % 441 == 0) hz = (random() & 1) ? 885 : 715;
    phase = std::fmod(phase + 2 * std::numbers::pi * hz / 44100, 2 * std::numbers::pi);
    audio[i] = std::round(std::clamp(8000 * std::sin(phase) + noise(random), -32768.0, 32767.0));
  }
  return audio;
}

class NullSink : public LineSink {
 public:
  void AddReceivedLine(const std::string& line, bool) override { benchmark::DoNotOptimize(line); }
  void ShowLiveLine(const std::string& line) override { benchmark::DoNotOptimize(line); }
};

void ReportRate(benchmark::State& state) {
  state.counters["blocks/s"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["x realtime"] =
      benchmark::Counter(double(state.iterations()) * BlockSeconds, benchmark::Counter::kIsRate);
}

// What the block handler does ten times a second: fill channel 0's block, decode it, on the
// receive path given as the argument (0 standard, 1 high-sensitivity).
void BM_DecodeBlock(benchmark::State& state) {
  const std::vector<double> audio = FskSignal();
  bool decLang = true, decInv = false;
  const bool autoSet = true;
  const bool sensitive = state.range(0) != 0;
  const double centerFrequency = 800;
  ReceptionIndicators indicators;
  NullSink sink;
  Decoder decoder(DecoderSettings{decLang, decInv, autoSet, centerFrequency, sensitive}, indicators,
                  sink);
  std::size_t block = 0;
  for (auto _ : state) {
    std::span<double, BlockFrames> samples = decoder.SampleBlock(0);
    std::copy_n(audio.begin() + std::ptrdiff_t(block * BlockFrames), BlockFrames, samples.begin());
    decoder.DecodeBlock(0);
    benchmark::DoNotOptimize(decoder.TuningOffset());
    block = (block + 1) % SignalBlocks;
  }
  state.SetLabel(sensitive ? "sensitive" : "standard");
  ReportRate(state);
}
BENCHMARK(BM_DecodeBlock)->Arg(0)->Arg(1);

// The plain evaluation with shifting delay lines and the full-rate decimation filter.
void BM_ReferenceDemodulator(benchmark::State& state) {
  const std::vector<double> audio = FskSignal();
  test::ReferenceDemodulator reference;
  std::size_t block = 0;
  for (auto _ : state) {
    reference.Demodulate(
        std::span<const double, BlockFrames>(audio.data() + block * BlockFrames, BlockFrames), 800);
    benchmark::DoNotOptimize(reference.tuningOffset);
    block = (block + 1) % SignalBlocks;
  }
  ReportRate(state);
}
BENCHMARK(BM_ReferenceDemodulator);

}  // namespace
}  // namespace seaherald

BENCHMARK_MAIN();
