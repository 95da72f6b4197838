#include "app/TextTabs.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
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
constexpr int TabCaptionGap = 2;  // beyond the style's own margins
constexpr int LabelGap = 4;
constexpr int LabelWidth = 145;
constexpr int SecondLiveTab = 2;

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
      received_(text.Tr("受信電文")),
      received1_(text.Tr("受信電文１")),
      received2_(text.Tr("受信電文２")),
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
  tabs_->addTab(received_);
  tabs_->addTab(text.Tr("読出電文"));

  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setTextFormat(Qt::PlainText);
  PlaceTabsAndLabel();

  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  memo_->setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), 12));
}

void TextTabs::ShowSecondReceiverTab(bool shown) {
  if (shown == (tabs_->count() > SecondLiveTab)) return;
  if (shown) {
    tabs_->addTab(received2_);
  } else {
    tabs_->removeTab(SecondLiveTab);
  }
  tabs_->setTabText(0, shown ? received1_ : received_);
  PlaceTabsAndLabel();
  PlaceButtonsAndPane();
}

// One receiver's strip keeps the layout's tab width; numbered captions widen every tab alike.
void TextTabs::PlaceTabsAndLabel() {
  // Measured with the font and style the bar is drawn with, which polishing settles.
  tabs_->ensurePolished();
  const int margins = tabs_->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs_);
  int tabWidth = TabWidth;
  for (int tab = 0; tab < tabs_->count() && tabs_->count() > SecondLiveTab; ++tab) {
    tabWidth = std::max(tabWidth, tabs_->fontMetrics().horizontalAdvance(tabs_->tabText(tab)) +
                                      margins + TabCaptionGap);
  }
  tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { width: %1px; height: %2px; }")
                           .arg(tabWidth)
                           .arg(TabRowHeight - 2));
  const int stripWidth = tabs_->count() * tabWidth + 4;
  tabs_->setGeometry(0, 0, stripWidth, TabRowHeight);
  label1_->setGeometry(stripWidth + LabelGap, 4, LabelWidth, TabRowHeight - 4);
}

void TextTabs::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceButtonsAndPane();
}

void TextTabs::PlaceButtonsAndPane() {
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
  // Beside three tabs the label gives way to the buttons in a narrow strip.
  if (tabs_->count() > SecondLiveTab)
    label1_->resize(std::clamp(deleteOne_->x() - LabelGap - label1_->x(), 0, LabelWidth),
                    label1_->height());
  memo_->setGeometry(0, TabRowHeight, width(), std::max(height() - TabRowHeight, 0));
}

}  // namespace seaherald
