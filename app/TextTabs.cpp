#include "app/TextTabs.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QToolButton>
#include <algorithm>

#include "app/Translation.h"
#include "app/ViewFonts.h"

namespace seaherald {

namespace {

constexpr int TabWidth = 64;
constexpr int DeleteButtonWidth = 56;
constexpr int DeleteButtonGap = 2;
constexpr int CaptionMargin = 4;  // each side, so that a caption never touches the edge

QToolButton* DeleteButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(caption);
  button->setFocusPolicy(Qt::NoFocus);
  button->resize(DeleteButtonWidth, TextTabs::TabRowHeight);
  return button;
}

}  // namespace

TextTabs::TextTabs(const Translation& text, QWidget* parent)
    : QWidget(parent),
      tabs_(new QTabBar(this)),
      label1_(new QLabel(this)),
      deleteOne_(DeleteButton(this, "SpeedButton7", text.Tr("１件削除"))),
      deleteAll_(DeleteButton(this, "SpeedButton8", text.Tr("全件削除"))),
      memo_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("TabControl1"));
  tabs_->setObjectName(QStringLiteral("TabControl1Tabs"));
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { width: %1px; height: %2px; }")
                           .arg(TabWidth)
                           .arg(TabRowHeight - 2));
  tabs_->addTab(text.Tr("受信電文"));
  tabs_->addTab(text.Tr("読出電文"));
  tabs_->setGeometry(0, 0, 2 * TabWidth + 4, TabRowHeight);

  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setTextFormat(Qt::PlainText);
  label1_->setGeometry(136, 4, 145, TabRowHeight - 4);

  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  memo_->setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), 12));
}

void TextTabs::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The Japanese captions fit the layout's width; longer ones widen both buttons alike.
  int buttonWidth = DeleteButtonWidth;
  for (QToolButton* button : {deleteOne_, deleteAll_}) {
    buttonWidth = std::max(
        buttonWidth, button->fontMetrics().horizontalAdvance(button->text()) + 2 * CaptionMargin);
  }
  for (QToolButton* button : {deleteOne_, deleteAll_})
    button->resize(buttonWidth, button->height());
  deleteOne_->move(width() - 2 * buttonWidth - DeleteButtonGap, 0);
  deleteAll_->move(width() - buttonWidth, 0);
  memo_->setGeometry(0, TabRowHeight, width(), std::max(height() - TabRowHeight, 0));
}

}  // namespace seaherald
