// The main window's per-block work on the GUI thread: decoding, spectrum and picture, and the text
// pane refilled with a full received text, as ten times a second during reception.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>

#include "app/TForm1.h"
#include "app/ViewFonts.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"

namespace seaherald {
namespace {

using StereoFrames = std::array<std::int16_t, static_cast<std::size_t>(BlockFrames) * 2>;

// 100-baud FSK around 800 Hz with random bits, left and right alike.
std::vector<StereoFrames> FskBlocks(int count) {
  std::mt19937 random(7);
  std::vector<StereoFrames> blocks(static_cast<std::size_t>(count));
  double phase = 0;
  double frequency = 885;
  for (std::size_t n = 0; n < blocks.size() * BlockFrames; ++n) {
    if (n % 441 == 0) frequency = (random() & 1) != 0 ? 885.0 : 715.0;
    phase += 2.0 * std::numbers::pi * frequency / DecoderInputRate;
    const auto sample = static_cast<std::int16_t>(6000.0 * std::sin(phase));
    StereoFrames& block = blocks[n / BlockFrames];
    block[2 * (n % BlockFrames)] = sample;
    block[2 * (n % BlockFrames) + 1] = sample;
  }
  return blocks;
}

class WindowBench {
 public:
  // `settings`: the settings file's text, none when empty.
  explicit WindowBench(const std::string& settings = {}) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    if (!settings.empty()) std::ofstream(dir_ / "seaherald.ini") << settings;
    window_ = std::make_unique<TForm1>(AppPaths{dir_ / "seaherald.ini", dir_ / "log"});
    window_->show();
    QCoreApplication::processEvents();
  }
  ~WindowBench() {
    window_.reset();
    std::filesystem::remove_all(dir_);
  }
  TForm1& Window() { return *window_; }

  // Fills the received text to its limit with lines of 64 characters.
  void FillReceivedText() {
    const std::string line(62, 'X');
    while (window_->Log().ReceivedText().size() < kReceivedTextLimit) {
      window_->Log().AddReceivedLine(line, false);
    }
  }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<TForm1> window_;
};

void BM_BlockHandler(benchmark::State& state) {
  WindowBench bench;
  const auto blocks = FskBlocks(50);
  std::size_t next = 0;
  for (auto _ : state) {
    bench.Window().ProcessWaveBlock(StereoBlock(blocks[next]));
    next = (next + 1) % blocks.size();
  }
}
BENCHMARK(BM_BlockHandler)->Unit(benchmark::kMillisecond);

// Both receivers on, the right channel's in view: two decoders and two spectrum histories.
void BM_BlockHandlerTwoReceivers(benchmark::State& state) {
  WindowBench bench("[Set]\nReceiver2=1\n");
  bench.Window().Browser().TabChanged(kTabReceived2);
  const auto blocks = FskBlocks(50);
  std::size_t next = 0;
  for (auto _ : state) {
    bench.Window().ProcessWaveBlock(StereoBlock(blocks[next]));
    next = (next + 1) % blocks.size();
  }
}
BENCHMARK(BM_BlockHandlerTwoReceivers)->Unit(benchmark::kMillisecond);

// A block that also finishes a line: the pane is refilled with the whole 63,998-byte received
// text and the window repaints.
void BM_BlockWithFullTextPane(benchmark::State& state) {
  WindowBench bench;
  bench.FillReceivedText();
  const auto blocks = FskBlocks(50);
  const std::string line = "ZCZC GA01 NAHA NAVTEX NAVIGATIONAL WARNING 0123/24 LIVE FIRING";
  std::size_t next = 0;
  for (auto _ : state) {
    bench.Window().ProcessWaveBlock(StereoBlock(blocks[next]));
    bench.Window().Log().AddReceivedLine(line, false);
    QCoreApplication::processEvents();
    next = (next + 1) % blocks.size();
  }
  state.counters["text_bytes"] = static_cast<double>(bench.Window().Log().ReceivedText().size());
}
BENCHMARK(BM_BlockWithFullTextPane)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace seaherald

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  seaherald::InstallFontSubstitutes();
  QApplication::setFont(seaherald::ControlFont());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
