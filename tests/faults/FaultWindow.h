#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/TForm1.h"
#include "decoder/BlockConstants.h"
#include "msglog/DialogService.h"
#include "platform/LocalClock.h"

// Readable failure messages for the toolkit's strings.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace seaherald::faults {

// Every dialog in the order shown, as UTF-8: "beep", "error: <text>", "information: <text>",
// "confirm: <text>". Confirmations are answered with `answer`.
// While an error is shown, `whileErrorShown` runs (as the user's reading time does, with the
// program going on) and errors added to it are recorded as "added: <text>" when `growable`.
class DialogRecord final : public DialogService {
 public:
  void Beep() override;
  void ShowError(const std::string& sjis) override;
  bool AddToShownError(const std::string& sjis) override;
  void ShowInformation(const std::string& sjis) override;
  bool Confirm(const std::string& sjis) override;

  std::vector<std::string> events;
  bool answer = true;
  std::function<void()> whileErrorShown;
  bool growable = false;
  bool errorShown = false;
  int stackedErrors = 0;  // error boxes opened while another was open
};

class FixedClock final : public LocalClock {
 public:
  LocalDateTime Now() const override { return now; }
  LocalDateTime now{2024, 3, 31, 12, 0, 0};
};

using StereoFrames = std::array<std::int16_t, static_cast<std::size_t>(BlockFrames) * 2>;

// How a broadcast reaches the receiver: its service, its tones and their polarity.
struct BroadcastSound {
  bool english = true;
  double centerHz = 800;
  double offsetHz = 0;  // the receiver mistuned by this much
  bool inverted = false;
};

// The 0.1 s capture blocks of one broadcast of `text` (lines ending in CR LF; Shift-JIS for the
// Japanese service) on the left channel, as the sound side hands them to the window.
std::vector<StereoFrames> BroadcastBlocks(std::string_view text, const BroadcastSound& sound = {});

// The blocks one after another, as one stream of interleaved stereo samples.
std::vector<std::int16_t> Interleaved(const std::vector<StereoFrames>& blocks);

// Two broadcasts at once, one on each input channel: the left channel of `left`'s blocks on the
// left, that of `right`'s on the right, as long as the longer of them.
std::vector<StereoFrames> BothChannels(const std::vector<StereoFrames>& left,
                                       const std::vector<StereoFrames>& right);

// The bytes of the log file the window writes for a message received cleanly at `clock`'s time.
std::string LogFileBytes(const LocalDateTime& savedAt, std::string_view body);

std::string FileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
// The names in a folder, sorted; empty when it is missing.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);

// The real main window, headless, over a settings file and a log folder of the test's own, with
// its dialogs recorded and its clock fixed. It decodes the English service with the log list
// showing Naha's navigational warnings (where the headers GA.. go).
class FaultWindowTest : public ::testing::Test {
 protected:
  FaultWindowTest();
  ~FaultWindowTest() override;

  TForm1& Window();  // built and shown on first use

  // A whole broadcast through the window's per-block entry.
  void Receive(std::string_view text);
  void Feed(const std::vector<StereoFrames>& blocks, std::size_t from, std::size_t to);

  std::filesystem::path LogPath(std::string_view name) const { return paths_.logFolder / name; }
  // "<path> に書き込めません", UTF-8, as the dialog record holds it.
  static std::string CannotWrite(const std::filesystem::path& path);

  QString TreeLabel(int node);
  int ListRowCount();
  QStringList ListHeaders();  // column "電文番号" of every row
  QString PaneText();
  void ClickListRow(int row);
  bool ReceivedTextHas(std::string_view line);

  std::filesystem::path dir_;
  AppPaths paths_;
  DialogRecord dialogs_;
  FixedClock clock_;
  std::unique_ptr<TForm1> window_;
};

// Three English messages of Naha, navigational warnings, and what their log files hold.
inline constexpr std::string_view kMessage1 = "ZCZC GA01\r\nFIRST MESSAGE 111\r\nNNNN\r\n";
inline constexpr std::string_view kBody1 = "FIRST MESSAGE 111\r\n";
inline constexpr std::string_view kMessage2 = "ZCZC GA02\r\nSECOND MESSAGE 222\r\nNNNN\r\n";
inline constexpr std::string_view kBody2 = "SECOND MESSAGE 222\r\n";
inline constexpr std::string_view kMessage3 = "ZCZC GA03\r\nTHIRD MESSAGE 333\r\nNNNN\r\n";
inline constexpr std::string_view kBody3 = "THIRD MESSAGE 333\r\n";
// GA01 again, with another body.
inline constexpr std::string_view kMessage1Again = "ZCZC GA01\r\nFIRST AGAIN 444\r\nNNNN\r\n";
inline constexpr std::string_view kBody1Again = "FIRST AGAIN 444\r\n";

}  // namespace seaherald::faults
