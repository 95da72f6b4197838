#include "app/SpectrumView.h"

#include <QPainter>
#include <cstring>

#include "audio/RgbBitmap.h"

namespace seaherald {

SpectrumView::SpectrumView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SpectrumView::ShowBitmap(const RgbBitmap& bitmap) {
  if (picture_.width() != bitmap.Width() || picture_.height() != bitmap.Height()) {
    picture_ = QImage(bitmap.Width(), bitmap.Height(), QImage::Format_RGB888);
  }
  const auto bytes = bitmap.Bytes();
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * 3;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(picture_.scanLine(y), bytes.data() + rowBytes * static_cast<std::size_t>(y),
                rowBytes);
  }
  update();
}

void SpectrumView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
}

}  // namespace seaherald
