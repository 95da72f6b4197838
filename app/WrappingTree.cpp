#include "app/WrappingTree.h"

#include <QEvent>
#include <QTreeView>
#include <algorithm>

namespace seaherald {

namespace {

constexpr int kTextMargin = 3;  // each side, as the style leaves it around an item's text

}  // namespace

WrappingTreeDelegate::WrappingTreeDelegate(QTreeView* tree)
    : QStyledItemDelegate(tree), tree_(tree) {
  tree_->setWordWrap(true);
  tree_->setTextElideMode(Qt::ElideNone);
  tree_->setUniformRowHeights(false);
  tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tree_->viewport()->installEventFilter(this);
}

QSize WrappingTreeDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  int depth = 0;
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
    ++depth;
  const int room = std::max(
      1, tree_->viewport()->width() - (depth + 1) * tree_->indentation() - 2 * kTextMargin);
  const QRect wrapped =
      item.fontMetrics.boundingRect(QRect(0, 0, room, 100000), Qt::TextWordWrap, item.text);
  QSize hint = QStyledItemDelegate::sizeHint(option, index);
  hint.setWidth(std::min(hint.width(), room + 2 * kTextMargin));
  hint.setHeight(std::max(hint.height(), wrapped.height() + 2));
  return hint;
}

bool WrappingTreeDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && tree_->viewport()->width() != lastWidth_) {
    lastWidth_ = tree_->viewport()->width();
    tree_->doItemsLayout();
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace seaherald
