#include "app/StatusPanels.h"

#include <QLabel>
#include <stdexcept>

#include "app/QtText.h"
#include "app/ViewFonts.h"

namespace seaherald {

namespace {

QLabel* CheckedPanel(const std::array<QLabel*, StatusPanels::PanelCount>& panels, int panel) {
  if (panel < 0 || panel >= StatusPanels::PanelCount) {
    throw std::out_of_range("status bar has panels 0 to 3");
  }
  return panels[static_cast<std::size_t>(panel)];
}

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("StatusBar1"));
  setFixedHeight(BarHeight);
  setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), 12));
  for (int i = 0; i < PanelCount; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setIndent(2);
    panels_[static_cast<std::size_t>(i)] = label;
  }
  PlacePanels();
}

void StatusPanels::SetPanelText(int panel, const QString& text) {
  CheckedPanel(panels_, panel)->setText(text);
}

void StatusPanels::SetPanelColours(int panel, const QColor& background, const QColor& text) {
  QLabel* label = CheckedPanel(panels_, panel);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, text);
  label->setPalette(palette);
}

QString StatusPanels::PanelText(int panel) const {
  return CheckedPanel(panels_, panel)->text();
}

void StatusPanels::SetPanelWidth(int panel, int width) {
  CheckedPanel(panels_, panel);
  widths_[static_cast<std::size_t>(panel)] = std::max(width, 0);
  PlacePanels();
}

int StatusPanels::PanelWidth(int panel) const {
  CheckedPanel(panels_, panel);
  return widths_[static_cast<std::size_t>(panel)];
}

void StatusPanels::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePanels();
}

void StatusPanels::PlacePanels() {
  int left = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i]->setGeometry(left, 1, widths_[i], BarHeight - 1);
    left += widths_[i];
  }
}

void StatusPanelsView::SetStatusText(int panel, const std::string& sjis) {
  panels_.SetPanelText(panel, ToQString(sjis));
}

}  // namespace seaherald
