#include "app/ColourPanel.h"

#include <QColor>
#include <QMouseEvent>
#include <QPalette>

namespace seaherald {

QColor QColorFromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t BgrFromQColor(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) |
         (static_cast<std::uint32_t>(colour.green()) << 8) |
         (static_cast<std::uint32_t>(colour.blue()) << 16);
}

ColourPanel::ColourPanel(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAutoFillBackground(true);
  SetColour(0);
}

void ColourPanel::SetColour(std::uint32_t bgr) {
  colour_ = bgr & 0xFFFFFF;
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColorFromBgr(colour_));
  setPalette(palette);
}

void ColourPanel::mouseReleaseEvent(QMouseEvent* event) {
  QFrame::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit Clicked();
  }
}

}  // namespace seaherald
