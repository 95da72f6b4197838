#include "tests/faults/FaultWindow.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "app/LogBrowserWidgets.h"
#include "app/TextTabs.h"
#include "msglog/MessageLog.h"
#include "platform/CodePage.h"
#include "tests/support/TestSignal.h"

namespace seaherald::faults {
namespace {

// English service set by hand, and the list showing Naha's navigational warnings.
constexpr std::string_view kSettings =
    "[Disp]\r\nViewLangNum=0\r\nViewBaseNum=0\r\nViewTypeNum=0\r\n"
    "[Set]\r\nAutoSet=0\r\nDecLang=1\r\nDecInv=0\r\n";

constexpr int kHeaderColumn = 1;

std::string Utf8(const std::string& sjis) {
  return Utf8FromCp932(sjis).value_or("<not Shift-JIS>");
}

}  // namespace

void DialogRecord::Beep() {
  events.emplace_back("beep");
}

void DialogRecord::ShowError(const std::string& sjis) {
  events.push_back("error: " + Utf8(sjis));
  if (errorShown) ++stackedErrors;
  const bool outer = errorShown;
  errorShown = true;
  if (whileErrorShown) std::exchange(whileErrorShown, nullptr)();
  errorShown = outer;
}

bool DialogRecord::AddToShownError(const std::string& sjis) {
  if (!growable || !errorShown) return false;
  events.push_back("added: " + Utf8(sjis));
  return true;
}

void DialogRecord::ShowInformation(const std::string& sjis) {
  events.push_back("information: " + Utf8(sjis));
}

bool DialogRecord::Confirm(const std::string& sjis) {
  events.push_back("confirm: " + Utf8(sjis));
  return answer;
}

std::vector<StereoFrames> BroadcastBlocks(std::string_view text, const BroadcastSound& sound) {
  testsignal::Transmission broadcast;
  broadcast.language =
      sound.english ? testsignal::Language::English : testsignal::Language::Japanese;
  broadcast.text = std::string(text);
  testsignal::SignalOptions options;
  options.fsk.centerHz = sound.centerHz;
  options.fsk.offsetHz = sound.offsetHz;
  options.inverted = sound.inverted;
  options.leadingSilenceSeconds = 0.2;
  options.trailingSilenceSeconds = 0.5;
  const std::vector<std::int16_t> mono =
      testsignal::ToPcm16(testsignal::Modulate(std::span(&broadcast, 1), options));
  const std::size_t frames = static_cast<std::size_t>(BlockFrames);
  std::vector<StereoFrames> blocks((mono.size() + frames - 1) / frames, StereoFrames{});
  for (std::size_t i = 0; i < mono.size(); ++i)
    blocks[i / frames][2 * (i % frames)] = mono[i];
  return blocks;
}

std::vector<std::int16_t> Interleaved(const std::vector<StereoFrames>& blocks) {
  std::vector<std::int16_t> samples;
  samples.reserve(blocks.size() * StereoFrames().size());
  for (const StereoFrames& block : blocks)
    samples.insert(samples.end(), block.begin(), block.end());
  return samples;
}

std::vector<StereoFrames> BothChannels(const std::vector<StereoFrames>& left,
                                       const std::vector<StereoFrames>& right) {
  std::vector<StereoFrames> blocks(std::max(left.size(), right.size()), StereoFrames{});
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(BlockFrames); ++frame) {
      if (b < left.size()) blocks[b][2 * frame] = left[b][2 * frame];
      if (b < right.size()) blocks[b][2 * frame + 1] = right[b][2 * frame];
    }
  }
  return blocks;
}

std::string LogFileBytes(const LocalDateTime& savedAt, std::string_view body) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "Last received %04d/%02d/%02d %02d:%02d:%02d\r\n",
                savedAt.year, savedAt.month, savedAt.day, savedAt.hour, savedAt.minute,
                savedAt.second);
  return std::string(stamp) + "Detected 000 error\r\n-\r\n" + std::string(body);
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

FaultWindowTest::FaultWindowTest() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "seaherald-fault-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  dir_ = pattern;
  // An ordinary user must reach the folders inside (see WriteFaultKind::ReadOnlyFolder).
  std::filesystem::permissions(dir_, std::filesystem::perms(0755));
  paths_ = AppPaths{dir_ / "seaherald.ini", dir_ / "log"};
}

FaultWindowTest::~FaultWindowTest() {
  window_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

TForm1& FaultWindowTest::Window() {
  if (!window_) {
    if (!std::filesystem::exists(paths_.settingsFile)) {
      WriteFileBytes(paths_.settingsFile, kSettings);
    }
    window_ = std::make_unique<TForm1>(paths_, FormServices{&dialogs_, nullptr, &clock_});
    window_->show();
    QCoreApplication::processEvents();
  }
  return *window_;
}

void FaultWindowTest::Receive(std::string_view text) {
  const std::vector<StereoFrames> blocks = BroadcastBlocks(text);
  Feed(blocks, 0, blocks.size());
}

void FaultWindowTest::Feed(const std::vector<StereoFrames>& blocks, std::size_t from,
                           std::size_t to) {
  TForm1& window = Window();
  for (std::size_t i = from; i < to && i < blocks.size(); ++i)
    window.ProcessWaveBlock(StereoBlock(blocks[i]));
  QCoreApplication::processEvents();
}

std::string FaultWindowTest::CannotWrite(const std::filesystem::path& path) {
  return path.string() + " に書き込めません";
}

QString FaultWindowTest::TreeLabel(int node) {
  const QTreeWidgetItem* item = Window().BrowserWidgets().TreeNode(node);
  return item == nullptr ? QString() : item->text(0);
}

int FaultWindowTest::ListRowCount() {
  return Window().Controls().ListView1->rowCount();
}

QStringList FaultWindowTest::ListHeaders() {
  QTableWidget* list = Window().Controls().ListView1;
  QStringList headers;
  for (int row = 0; row < list->rowCount(); ++row) {
    const QTableWidgetItem* item = list->item(row, kHeaderColumn);
    headers << (item == nullptr ? QString() : item->text());
  }
  return headers;
}

QString FaultWindowTest::PaneText() {
  return Window().Controls().TabControl1->Memo1()->toPlainText();
}

void FaultWindowTest::ClickListRow(int row) {
  QTableWidget* list = Window().Controls().ListView1;
  ASSERT_LT(row, list->rowCount());
  list->scrollToItem(list->item(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row, 0)).center());
}

bool FaultWindowTest::ReceivedTextHas(std::string_view line) {
  return Window().Log().ReceivedText().find(line) != std::string::npos;
}

}  // namespace seaherald::faults
