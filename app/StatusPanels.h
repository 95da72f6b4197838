#pragma once

#include <QColor>
#include <QWidget>
#include <array>
#include <string>

#include "msglog/StatusView.h"

class QLabel;

namespace seaherald {

// The main window's status bar: four sunken text panels of fixed width side by side, 19 pixels
// high. Panel 0 is the only one whose width changes (the window sets it on every resize).
class StatusPanels final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int PanelCount = 4;
  static constexpr int BarHeight = 19;

  explicit StatusPanels(QWidget* parent = nullptr);

  void SetPanelText(int panel, const QString& text);
  // A panel that serves as a lamp: its background and text colours.
  void SetPanelColours(int panel, const QColor& background, const QColor& text);
  QString PanelText(int panel) const;
  void SetPanelWidth(int panel, int width);
  int PanelWidth(int panel) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlacePanels();

  std::array<QLabel*, PanelCount> panels_{};
  std::array<int, PanelCount> widths_{350, 100, 100, 100};
};

// A status bar as a message log sees it: panels 0-2 of this bar (the second receiver's line).
class StatusPanelsView final : public StatusView {
 public:
  explicit StatusPanelsView(StatusPanels& panels) : panels_(panels) {}
  void SetStatusText(int panel, const std::string& sjis) override;

 private:
  StatusPanels& panels_;
};

}  // namespace seaherald
