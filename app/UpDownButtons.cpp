#include "app/UpDownButtons.h"

#include <QToolButton>
#include <algorithm>

namespace seaherald {

UpDownButtons::UpDownButtons(int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      position_(minimum),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
  for (QToolButton* arrow : {up_, down_}) {
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setAutoRepeat(true);
  }
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  connect(up_, &QToolButton::clicked, this, &UpDownButtons::ClickUp);
  connect(down_, &QToolButton::clicked, this, &UpDownButtons::ClickDown);
}

void UpDownButtons::SetPosition(int position) {
  position_ = std::clamp(position, minimum_, maximum_);
}

void UpDownButtons::ClickUp() {
  Step(1);
}
void UpDownButtons::ClickDown() {
  Step(-1);
}

void UpDownButtons::Step(int delta) {
  SetPosition(position_ + delta);
  emit Clicked(position_);
}

void UpDownButtons::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int upper = height() / 2;
  up_->setGeometry(0, 0, width(), upper);
  down_->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace seaherald
