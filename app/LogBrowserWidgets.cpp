#include "app/LogBrowserWidgets.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "app/QtText.h"
#include "app/TextTabs.h"
#include "msglog/Catalogue.h"
#include "msglog/LogBrowser.h"
#include "msglog/UiText.h"
#include "platform/CodePage.h"

namespace seaherald {

namespace {

constexpr int NodeIndexRole = Qt::UserRole;

QTableWidgetItem* Cell(const std::string& sjis) {
  auto* item = new QTableWidgetItem(ToQString(sjis));
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

}  // namespace

LogBrowserWidgets::LogBrowserWidgets(const MainControls& controls, const UiText& text)
    : controls_(controls) {
  BuildTreeNodes(text);
  keepAction_ = new QAction(ToQString(text.Translate(Cp932Text("保存（自動削除しない）"))),
                            controls_.ListView1);
  keepAction_->setObjectName(QStringLiteral("KeepAction"));
  keepAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  keepAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  controls_.ListView1->addAction(keepAction_);
  controls_.ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);
}

// 182 nodes in depth-first order: language, its stations, under each its types. They carry
// their bare names until the browser labels them with counts.
void LogBrowserWidgets::BuildTreeNodes(const UiText& text) {
  nodes_.reserve(kTreeNodeCount);
  QTreeWidget* tree = controls_.TreeView1;
  for (int lang = 0; lang < kLangCount; ++lang) {
    auto* langNode =
        new QTreeWidgetItem(tree, {ToQString(text.Translate(Catalogue::LangName(lang)))});
    nodes_.push_back(langNode);
    for (int base = 0; base < kBaseCount; ++base) {
      auto* baseNode = new QTreeWidgetItem(
          langNode,
          {ToQString(ShownStationName(Catalogue::BaseName(text.NameLang(), base), text))});
      nodes_.push_back(baseNode);
      for (int type = 0; type < kTypeCount; ++type) {
        nodes_.push_back(
            new QTreeWidgetItem(baseNode, {ToQString(Catalogue::TypeName(text.NameLang(), type))}));
      }
    }
  }
  NumberTreeNodes();
}

void LogBrowserWidgets::NumberTreeNodes() {
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    nodes_[i]->setData(0, NodeIndexRole, static_cast<int>(i));
  }
}

// The language nodes stay (with their expansion); their stations and types are made anew,
// unlabelled until the browser labels them.
void LogBrowserWidgets::SetTreeShape(const std::vector<int>& stationsPerLanguage) {
  QTreeWidget* tree = controls_.TreeView1;
  const QSignalBlocker blocker(tree);
  tree->setCurrentItem(nullptr);
  std::vector<QTreeWidgetItem*> nodes;
  for (int lang = 0; lang < tree->topLevelItemCount(); ++lang) {
    QTreeWidgetItem* langNode = tree->topLevelItem(lang);
    qDeleteAll(langNode->takeChildren());
    nodes.push_back(langNode);
    const int stations =
        lang < static_cast<int>(stationsPerLanguage.size()) ? stationsPerLanguage[lang] : 0;
    for (int base = 0; base < stations; ++base) {
      auto* baseNode = new QTreeWidgetItem(langNode);
      nodes.push_back(baseNode);
      for (int type = 0; type < kTypeCount; ++type)
        nodes.push_back(new QTreeWidgetItem(baseNode));
    }
  }
  nodes_ = std::move(nodes);
  NumberTreeNodes();
}

void LogBrowserWidgets::Connect(LogBrowser& browser) {
  connect(controls_.TreeView1, &QTreeWidget::itemClicked, this,
          [this, &browser] { browser.TreeNodeClicked(SelectedTreeNode()); });
  connect(controls_.ListView1, &QTableWidget::itemSelectionChanged, this,
          [&browser] { browser.ShowStoredMessage(); });
  connect(controls_.ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [&browser](int column) { browser.ColumnClicked(column); });
  connect(controls_.TabControl1->Tabs(), &QTabBar::currentChanged, this,
          [&browser](int tab) { browser.TabChanged(tab); });
  connect(controls_.TabControl1->SpeedButton7(), &QToolButton::clicked, this,
          [&browser] { browser.DeleteSelectedMessage(); });
  connect(controls_.TabControl1->SpeedButton8(), &QToolButton::clicked, this,
          [&browser] { browser.DeleteAllOfSelection(); });
  connect(keepAction_, &QAction::triggered, this, [&browser] { browser.ToggleKeepSelected(); });
}

QTreeWidgetItem* LogBrowserWidgets::TreeNode(int index) const {
  if (index < 0 || index >= static_cast<int>(nodes_.size())) return nullptr;
  return nodes_[static_cast<std::size_t>(index)];
}

int LogBrowserWidgets::SelectedTreeNode() const {
  const QTreeWidgetItem* item = controls_.TreeView1->currentItem();
  if (item == nullptr || !item->isSelected()) return -1;
  return item->data(0, NodeIndexRole).toInt();
}

void LogBrowserWidgets::SetTreeLabels(const std::vector<std::string>& labels) {
  const QSignalBlocker blocker(controls_.TreeView1);
  for (std::size_t i = 0; i < labels.size() && i < nodes_.size(); ++i) {
    nodes_[i]->setText(0, ToQString(labels[i]));
  }
}

void LogBrowserWidgets::SelectTreeNode(int index) {
  QTreeWidgetItem* node = TreeNode(index);
  if (node == nullptr) return;
  const QSignalBlocker blocker(controls_.TreeView1);
  controls_.TreeView1->setCurrentItem(node);
  controls_.TreeView1->scrollToItem(node);
}

void LogBrowserWidgets::SetListRows(const std::vector<ListRow>& rows) {
  QTableWidget* list = controls_.ListView1;
  const QSignalBlocker blocker(list);
  list->clearSelection();
  list->setRowCount(0);
  list->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ListRow& row = rows[static_cast<std::size_t>(r)];
    for (int column = 0; column < kColumnCount; ++column) {
      QTableWidgetItem* cell = Cell(row.ColumnText(column));
      if (row.kept) {
        QFont bold = list->font();
        bold.setBold(true);
        cell->setFont(bold);
        cell->setToolTip(keepAction_->text());
      }
      list->setItem(r, column, cell);
    }
  }
  list->setCurrentItem(nullptr);
}

int LogBrowserWidgets::SelectedRow() const {
  const QList<QTableWidgetItem*> selected = controls_.ListView1->selectedItems();
  return selected.isEmpty() ? -1 : selected.first()->row();
}

void LogBrowserWidgets::SelectRow(int row) {
  QTableWidget* list = controls_.ListView1;
  const QSignalBlocker blocker(list);
  list->clearSelection();
  if (row >= 0 && row < list->rowCount()) list->selectRow(row);
}

void LogBrowserWidgets::SetPaneText(const std::string& sjis) {
  QPlainTextEdit* memo = controls_.TabControl1->Memo1();
  QString text = ToQString(sjis);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  memo->setPlainText(text);
  // The received text follows its newest line; a stored message is read from its start.
  const int shown = controls_.TabControl1->Tabs()->currentIndex();
  if (shown == kTabReceived || shown == kTabReceived2) {
    memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
  }
}

void LogBrowserWidgets::SetLabelText(const std::string& sjis) {
  controls_.TabControl1->Label1()->setText(ToQString(sjis));
}

void LogBrowserWidgets::SetActiveTab(int tab) {
  const QSignalBlocker blocker(controls_.TabControl1->Tabs());
  controls_.TabControl1->Tabs()->setCurrentIndex(tab);
}

}  // namespace seaherald
