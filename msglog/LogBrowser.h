#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "msglog/AreaStations.h"
#include "msglog/DialogService.h"
#include "msglog/KeepList.h"
#include "msglog/LogBrowserView.h"
#include "msglog/LogFolder.h"
#include "msglog/LogTreeLayout.h"
#include "msglog/MessageList.h"
#include "msglog/MessageLogListener.h"
#include "msglog/UiText.h"
#include "platform/LocalClock.h"

namespace seaherald {

// Text pane tabs.
inline constexpr int kTabReceived = 0;   // "受信電文"
inline constexpr int kTabStored = 1;     // "読出電文"
inline constexpr int kTabReceived2 = 2;  // the second receiver's text, when it runs

// The logic behind the log tree, the message list and the text pane, and the deletion of logs.
// The window forwards its widget events here and carries out what the browser asks of the
// view; every decision is taken here. The folder is read afresh at each operation.
//
// Settings used: ViewLangNum/ViewBaseNum/ViewTypeNum (the last type leaf clicked, written here),
// SortType (written by a column click), AutoLogDelete and DeleteDay. A stored selection that
// names no node counts as no selection.
//
// Typical wiring in the window:
//   LogFolder folder(exeDir / "log");
//   LogBrowser browser(settings, clock, folder, view, dialogs);
//   MessageLog log(settings, clock, folder, status, dialogs, &browser);
//   browser.Start();  if (settings.AutoLogDelete) browser.AutoDeleteLogs();
class LogBrowser final : public MessageLogListener {
 public:
  LogBrowser(Settings& settings, const LocalClock& clock, const LogFolder& folder,
             LogBrowserView& view, DialogService& dialogs, const UiText& text = JapaneseUiText());

  // Start-up: selects the stored tree node (node 0 without a stored selection) and tab 0
  // (leaving the pane's start-up text), then RebuildLogTree.
  void Start();

  // The node to select at start-up: the stored type leaf, or node 0.
  int InitialTreeNode() const;

  // Recounts the log files, relabels every node (182 without a chosen area) and refills the list
  // for the stored selection (the list is emptied when there is none). A change of area gives
  // the view a tree of the new shape first.
  void RebuildLogTree();
  // Refills the list with the logs of one selection and sorts it by SortType. No row is
  // selected afterwards; the pane keeps what it shows.
  void RefreshMessageList(int lang, int base, int type);

  // Tree click (TreeView1 OnClick) on node `nodeIndex` (-1: none selected). A type leaf
  // becomes the stored selection and fills the list; other nodes change nothing.
  void TreeNodeClicked(int nodeIndex);
  // List selection changed (ListView1 OnSelectItem): shows the selected row's message on tab 1.
  void ShowStoredMessage();
  // Tab change by the user (TabControl1 OnChange).
  void TabChanged(int activeTab);
  // Column heading click (ListView1 OnColumnClick) on column 0-3.
  void ColumnClicked(int column);
  // "１件削除" (SpeedButton7): deletes the selected row's log after confirmation.
  void DeleteSelectedMessage();
  // "全件削除" (SpeedButton8): deletes every log of the stored selection after confirmation.
  void DeleteAllOfSelection();
  // Deletes the logs dated more than DeleteDay days before today, when AutoLogDelete is on,
  // except those tagged Keep. While the keep file cannot be read it deletes nothing, and tells
  // so once.
  void AutoDeleteLogs();
  // Tags the selected row's message Keep, or untags it. A tag that cannot be stored is told as
  // a write failure of the keep file, one that cannot be read as such.
  void ToggleKeepSelected();
  bool Kept(const std::string& header) const { return keep_.Kept(header); }

  // MessageLogListener.
  void ReceivedTextChanged(const std::string& receivedText) override;
  void LogFileCreated() override;
  void LogFileConsidered() override;
  // The listener for the second receiver's message log: its text goes to tab 2, its filing acts
  // on the tree and list as the first receiver's does.
  MessageLogListener& SecondReceiver() { return secondReceiver_; }

  bool ShowingReceived() const { return shownTab_ == kTabReceived; }
  int ShownTab() const { return shownTab_; }
  const std::string& StoredText() const { return storedText_; }
  const std::string& StoredLabel() const { return storedLabel_; }
  // The list as last given to the view, in its order.
  std::vector<ListRow> Rows() const;
  // A chosen area's stations are the English service's station nodes (see LogTreeLayout);
  // followed at Start and at each RebuildLogTree. Null: the catalogue's tree.
  void SetArea(const AreaStations* area) { area_ = area; }
  const LogTreeLayout& TreeLayout() const { return layout_; }
  // The tree labels as last given to the view.
  const std::vector<std::string>& TreeLabels() const { return treeLabels_; }

 private:
  class SecondReceiverListener final : public MessageLogListener {
   public:
    explicit SecondReceiverListener(LogBrowser& browser) : browser_(browser) {}
    void ReceivedTextChanged(const std::string& receivedText) override;
    void LogFileCreated() override { browser_.LogFileCreated(); }
    void LogFileConsidered() override { browser_.LogFileConsidered(); }

   private:
    LogBrowser& browser_;
  };

  struct ListedLog {
    ListRow row;
    std::string header;  // file name without ".txt", also for rows whose file did not open
    std::filesystem::path path;
  };

  bool HasStoredSelection() const;
  void AdoptAreaLayout();
  void FollowAreaLayout();
  ListedLog ReadListedLog(const LogEntry& entry) const;
  const ListedLog* SelectedLog() const;
  void SortListed();
  void PublishRows();
  void ClearStoredMessage();
  bool KeepListReadable(bool asked);
  void UntagIfGone(const std::string& header);
  void UntagWhatWentUnread();
  void ShowPane(const std::string& text);

  Settings& settings_;
  const LocalClock& clock_;
  const LogFolder& folder_;
  LogBrowserView& view_;
  DialogService& dialogs_;
  const UiText& text_;
  const AreaStations* area_ = nullptr;
  LogTreeLayout layout_;  // as the view has it
  KeepList keep_;
  bool keepUnreadableTold_ = false;
  std::set<std::string> untagWhenReadable_;  // deleted while the keep file could not be read

  std::vector<ListedLog> listed_;
  std::vector<std::string> treeLabels_;
  std::string receivedText_;
  std::string receivedText2_;
  std::string storedText_;
  std::string storedLabel_;
  int shownTab_ = kTabReceived;
  SecondReceiverListener secondReceiver_{*this};
};

}  // namespace seaherald
