#pragma once

#include <string>
#include <vector>

#include "msglog/MessageList.h"

namespace seaherald {

// The widgets the log browser drives: the station/type tree (TreeView1), the message list
// (ListView1), the text pane (Memo1) on its two tabs (TabControl1) and the label beside the
// tabs (Label1). Texts are Shift-JIS bytes; the pane text uses CR LF line ends.
//
// None of these calls may call back into the browser: the window blocks its own change
// signals while it carries them out.
class LogBrowserView {
 public:
  virtual ~LogBrowserView() = default;

  // Relabels every node; labels[i] belongs to node i in depth-first order (182 labels until
  // SetTreeShape gives another shape).
  virtual void SetTreeLabels(const std::vector<std::string>& labels) = 0;
  // Replaces the tree: each language node with stationsPerLanguage[lang] station nodes, each of
  // those with kTypeCount type leaves. Nothing is selected afterwards; labels follow.
  virtual void SetTreeShape(const std::vector<int>& stationsPerLanguage) = 0;
  // Selects tree node `index` (depth-first) without running the click behaviour.
  virtual void SelectTreeNode(int index) = 0;

  // Replaces all rows of the list, in this order. No row is selected afterwards.
  virtual void SetListRows(const std::vector<ListRow>& rows) = 0;
  // The selected row, -1 when none.
  virtual int SelectedRow() const = 0;
  // Selects row `row` (-1: none) without running the selection behaviour.
  virtual void SelectRow(int row) = 0;

  // Clears the text pane and puts `sjis` in.
  virtual void SetPaneText(const std::string& sjis) = 0;
  // Label1.
  virtual void SetLabelText(const std::string& sjis) = 0;
  // Makes tab 0 ("受信電文") or 1 ("読出電文") active without running the tab-change behaviour.
  virtual void SetActiveTab(int tab) = 0;
};

}  // namespace seaherald
