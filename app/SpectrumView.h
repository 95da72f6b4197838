#pragma once

#include <QImage>
#include <QWidget>

namespace seaherald {

class RgbBitmap;

// Image1: shows a copy of the spectrum picture, pixel for pixel, at the top left.
class SpectrumView final : public QWidget {
  Q_OBJECT

 public:
  explicit SpectrumView(QWidget* parent = nullptr);

  // Copies the picture and repaints.
  void ShowBitmap(const RgbBitmap& bitmap);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace seaherald
