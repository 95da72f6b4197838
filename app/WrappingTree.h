#pragma once

#include <QStyledItemDelegate>

class QTreeView;

namespace seaherald {

// Lets the labels of a one-column tree wrap onto more lines within the panel's width instead of
// being cut or scrolled sideways: each row is as tall as its label wrapped at the room it has,
// and the rows are laid out again whenever the panel's width changes.
class WrappingTreeDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit WrappingTreeDelegate(QTreeView* tree);

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTreeView* tree_;
  int lastWidth_ = -1;
};

}  // namespace seaherald
