#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTabBar;
class QToolButton;

namespace seaherald {

class Translation;

// TabControl1: the tab strip "受信電文" / "読出電文" with the title label beside the tabs, the
// two delete buttons at its top right and the text pane below the tabs. With a second receiver
// the strip gains its live tab, "受信電文２", after the others, and the first live tab is
// numbered "受信電文１".
class TextTabs final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int TabRowHeight = 20;

  explicit TextTabs(const Translation& text, QWidget* parent = nullptr);

  // Adds or removes the second receiver's live tab; the tab shown stays unless it goes.
  void ShowSecondReceiverTab(bool shown);

  QTabBar* Tabs() const { return tabs_; }
  QLabel* Label1() const { return label1_; }
  QToolButton* SpeedButton7() const { return deleteOne_; }
  QToolButton* SpeedButton8() const { return deleteAll_; }
  QPlainTextEdit* Memo1() const { return memo_; }

 protected:
  // Tab control resize: the delete buttons keep to the right edge.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceTabsAndLabel();
  void PlaceButtonsAndPane();

  QString received_;
  QString received1_;
  QString received2_;
  QTabBar* tabs_;
  QLabel* label1_;
  QToolButton* deleteOne_;
  QToolButton* deleteAll_;
  QPlainTextEdit* memo_;
};

}  // namespace seaherald
