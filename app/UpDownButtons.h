#pragma once

#include <QWidget>

class QToolButton;

namespace seaherald {

// A pair of up and down arrows holding a position within a range, without wrapping. Each arrow
// click moves the position by one step where the range allows and reports the click even when
// the position is already at its limit.
class UpDownButtons final : public QWidget {
  Q_OBJECT

 public:
  UpDownButtons(int minimum, int maximum, QWidget* parent = nullptr);

  int Position() const { return position_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  // Held within the range.
  void SetPosition(int position);

  void ClickUp();
  void ClickDown();

 signals:
  void Clicked(int position);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Step(int delta);

  int minimum_;
  int maximum_;
  int position_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace seaherald
