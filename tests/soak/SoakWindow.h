#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "audio/BlockHandler.h"
#include "audio/RecordingClock.h"
#include "audio/RgbBitmap.h"
#include "audio/Spectrum.h"
#include "msglog/LogBrowser.h"
#include "msglog/LogFolder.h"
#include "msglog/MessageLog.h"
#include "tests/soak/FilingObserver.h"
#include "tests/soak/SoakLedger.h"

namespace seaherald::soak {

// The log browser's widgets, reduced to what a user clicking about needs to know.
class SoakBrowserView final : public LogBrowserView {
 public:
  void SetTreeLabels(const std::vector<std::string>& labels) override {
    treeLabelCount = labels.size();
  }
  void SetTreeShape(const std::vector<int>&) override { selectedNode = -1; }
  void SelectTreeNode(int index) override { selectedNode = index; }
  void SetListRows(const std::vector<ListRow>& rows) override {
    rowCount = static_cast<int>(rows.size());
    selectedRow = -1;
  }
  int SelectedRow() const override { return selectedRow; }
  void SelectRow(int row) override { selectedRow = row; }
  void SetPaneText(const std::string& sjis) override { paneBytes = sjis.size(); }
  void SetLabelText(const std::string&) override {}
  void SetActiveTab(int) override {}

  std::size_t treeLabelCount = 0;
  int selectedNode = -1;
  int rowCount = 0;
  int selectedRow = -1;
  std::size_t paneBytes = 0;
};

class SoakStatusView final : public StatusView {
 public:
  void SetStatusText(int, const std::string&) override {}
};

// Nothing may need the user during the soak: every dialog is a failure to report.
class SoakDialogs final : public DialogService {
 public:
  void Beep() override {}
  void ShowError(const std::string& sjis) override { Record(sjis); }
  void ShowInformation(const std::string& sjis) override { Record(sjis); }
  bool Confirm(const std::string& sjis) override {
    Record(sjis);
    return false;
  }
  int shown = 0;
  std::string first;  // Shift-JIS

 private:
  void Record(const std::string& sjis) {
    if (shown++ == 0) first = sjis;
  }
};

// The main window's receive path without a screen, wired as the window wires it: block
// handler with the decoder, spectrum and picture, message log, log browser over the log folder,
// automatic deletion at start, on schedule and at closing. The clock runs on the audio: one
// second per ten blocks. Lines and time-outs pass the ledger's observer on their way.
class SoakWindow final : private LineSink, private BlockHandlerListener {
 public:
  SoakWindow(const Settings& settings, const LocalDateTime& start,
             const std::filesystem::path& logFolder);

  // Start-up, as the window's constructor: the browser starts and old logs are deleted.
  void Start();
  void ProcessBlock(StereoBlock block);
  // Closing: the automatic deletion runs once more.
  void Close();

  // What a user does with the log browser.
  void ClickTreeNode(int node) { browser_.TreeNodeClicked(node); }
  void ClickRow(int row);
  void ChangeTab(int tab) { browser_.TabChanged(tab); }
  void ClickColumn(int column) { browser_.ColumnClicked(column); }

  SoakLedger& Ledger() { return ledger_; }
  const MessageLog& Log() const { return log_; }
  const LogFolder& Folder() const { return folder_; }
  const SoakBrowserView& View() const { return view_; }
  const SoakDialogs& Dialogs() const { return dialogs_; }
  const RecordingClock& Clock() const { return clock_; }
  std::int64_t LimeBlocks() const { return limeBlocks_; }

 private:
  void AddReceivedLine(const std::string& line, bool cut) override;
  void ShowLiveLine(const std::string& line) override;
  void PhasingSeen() override { observer_.PhasingSeen(); }
  void OnBlockDecoded() override;
  void ShowClock(const std::string&) override {}
  void DiscardMessage() override;
  void AutoDeleteLogs() override;
  void SetLamp(bool lime) override;
  void OnBlockDone() override;

  Settings settings_;
  double centerFrequency_;
  RecordingClock clock_;
  LogFolder folder_;
  SoakBrowserView view_;
  SoakStatusView status_;
  SoakDialogs dialogs_;
  LogBrowser browser_;
  MessageLog log_;
  SoakLedger ledger_;
  FilingObserver observer_;
  BlockHandler handler_;
  Spectrum spectrum_;
  RgbBitmap bitmap_;
  std::int64_t limeBlocks_ = 0;
};

}  // namespace seaherald::soak
