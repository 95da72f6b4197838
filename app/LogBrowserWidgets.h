#pragma once

#include <QObject>
#include <vector>

#include "app/MainControls.h"
#include "msglog/LogBrowserView.h"

class QAction;
class QTreeWidgetItem;

namespace seaherald {

class LogBrowser;
class UiText;

// Carries the log browser's requests out on the tree, the list, the tabs, Label1 and Memo1,
// and hands the user's actions on them to the browser. The widgets' own change signals are
// blocked while the browser drives them, so nothing calls back into it.
class LogBrowserWidgets final : public QObject, public LogBrowserView {
  Q_OBJECT

 public:
  LogBrowserWidgets(const MainControls& controls, const UiText& text);

  // Starts forwarding clicks, selection changes, tab changes and deletions to `browser`.
  void Connect(LogBrowser& browser);

  void SetTreeLabels(const std::vector<std::string>& labels) override;
  void SetTreeShape(const std::vector<int>& stationsPerLanguage) override;
  void SelectTreeNode(int index) override;
  void SetListRows(const std::vector<ListRow>& rows) override;
  int SelectedRow() const override;
  void SelectRow(int row) override;
  void SetPaneText(const std::string& sjis) override;
  void SetLabelText(const std::string& sjis) override;
  void SetActiveTab(int tab) override;

  // The tree node of a depth-first index; null outside.
  QTreeWidgetItem* TreeNode(int index) const;
  // Depth-first index of the selected node, -1 when none.
  int SelectedTreeNode() const;

 private:
  void BuildTreeNodes(const UiText& text);
  void NumberTreeNodes();

  MainControls controls_;
  std::vector<QTreeWidgetItem*> nodes_;
  // Keep on the list's context menu and Ctrl+K: the selected message is never deleted
  // automatically.
  QAction* keepAction_ = nullptr;
};

}  // namespace seaherald
