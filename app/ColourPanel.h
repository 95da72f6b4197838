#pragma once

#include <QFrame>
#include <cstdint>

namespace seaherald {

// A sunken panel filled with one colour (0xBBGGRR) that reports clicks on it.
class ColourPanel final : public QFrame {
  Q_OBJECT

 public:
  explicit ColourPanel(QWidget* parent = nullptr);

  void SetColour(std::uint32_t bgr);
  std::uint32_t Colour() const { return colour_; }

 signals:
  void Clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::uint32_t colour_ = 0;
};

// 0xBBGGRR as the settings hold colours, and back.
QColor QColorFromBgr(std::uint32_t bgr);
std::uint32_t BgrFromQColor(const QColor& colour);

}  // namespace seaherald
