// Folder scans of the log browser over large log folders: the tree counts and the message list.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "msglog/Catalogue.h"
#include "msglog/LogBrowser.h"
#include "platform/CodePage.h"

namespace seaherald {
namespace {

class DiscardingView final : public LogBrowserView {
 public:
  std::size_t rows = 0;
  void SetTreeLabels(const std::vector<std::string>&) override {}
  void SetTreeShape(const std::vector<int>&) override {}
  void SelectTreeNode(int) override {}
  void SetListRows(const std::vector<ListRow>& newRows) override { rows = newRows.size(); }
  int SelectedRow() const override { return -1; }
  void SelectRow(int) override {}
  void SetPaneText(const std::string&) override {}
  void SetLabelText(const std::string&) override {}
  void SetActiveTab(int) override {}
};

class SilentDialogs final : public DialogService {
 public:
  void Beep() override {}
  void ShowError(const std::string&) override {}
  void ShowInformation(const std::string&) override {}
  bool Confirm(const std::string&) override { return false; }
};

class FixedClock final : public LocalClock {
 public:
  LocalDateTime Now() const override { return {2024, 3, 31, 12, 0, 0}; }
};

// A log folder filled with `count` log files, removed again at the end of the benchmark.
class LogFolderFixture {
 public:
  explicit LogFolderFixture(int count, bool japaneseOnly) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    const CodePageConverter converter;
    for (int i = 0; i < count; ++i) {
      const bool japanese = japaneseOnly || i % 2 == 1;
      const std::string name = japanese ? JapaneseName(i) : EnglishName(i);
      std::ofstream(path_ / *converter.Utf8FromCp932(name), std::ios::binary)
          << "Last received 2024/03/" << (10 + i % 20) << " 12:34:56\r\nDetected 00" << i % 10
          << " error\r\n-\r\nLINE 4\r\nLINE 5\r\nLINE 6\r\nCONTENT " << i << "\r\n";
    }
  }
  ~LogFolderFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  static std::string EnglishName(int i) {
    const int serial = i / 2;
    return std::string{static_cast<char>('A' + serial / 2600 % 26),
                       static_cast<char>('A' + serial / 100 % 26),
                       static_cast<char>('0' + serial / 10 % 10),
                       static_cast<char>('0' + serial % 10)} +
           ".txt";
  }
  // "ＧＡ" followed by three full-width letters or digits, unique for i below 36^3 * 26.
  static std::string JapaneseName(int i) {
    std::string name = "\x82\x66";  // Ｇ
    name += std::string{'\x82', static_cast<char>(0x60 + i / 46656 % 26)};
    for (int digit = 2; digit >= 0; --digit) {
      int place = 1;
      for (int k = 0; k < digit; ++k)
        place *= 36;
      const int value = i / place % 36;
      name += std::string{'\x82', static_cast<char>(value < 10 ? 0x4F + value : 0x60 + value - 10)};
    }
    return name + ".txt";
  }

  std::filesystem::path path_;
};

void BM_TreeCounts(benchmark::State& state) {
  const LogFolderFixture fixture(static_cast<int>(state.range(0)), false);
  Settings settings;
  const FixedClock clock;
  DiscardingView view;
  SilentDialogs dialogs;
  const LogFolder folder(fixture.Path());
  LogBrowser browser(settings, clock, folder, view, dialogs);
  for (auto _ : state) {
    browser.RebuildLogTree();
    benchmark::DoNotOptimize(browser.TreeLabels().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TreeCounts)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_MessageList(benchmark::State& state) {
  const LogFolderFixture fixture(static_cast<int>(state.range(0)), true);
  Settings settings;
  const FixedClock clock;
  DiscardingView view;
  SilentDialogs dialogs;
  const LogFolder folder(fixture.Path());
  LogBrowser browser(settings, clock, folder, view, dialogs);
  for (auto _ : state) {
    browser.RefreshMessageList(1, 0, 0);
    benchmark::DoNotOptimize(view.rows);
  }
  if (view.rows != static_cast<std::size_t>(state.range(0))) state.SkipWithError("rows missing");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MessageList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace seaherald

BENCHMARK_MAIN();
