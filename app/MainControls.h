#pragma once

class QFrame;
class QSplitter;
class QTableWidget;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace seaherald {

class SpectrumView;
class Translation;
class StatusPanels;
class TextTabs;

// The main window's controls, named as the window refers to them. All are owned by the form.
struct MainControls {
  QFrame* Panel6 = nullptr;             // tool bar
  QToolButton* SpeedButton5 = nullptr;  // "設　　定"
  QToolButton* SpeedButton1 = nullptr;  // "モニター" toggle
  QFrame* Panel2 = nullptr;             // spectrum frame
  SpectrumView* Image1 = nullptr;
  QFrame* Panel1 = nullptr;        // reception lamp
  QWidget* Panel7 = nullptr;       // body
  QSplitter* Splitter1 = nullptr;  // tree | right-hand side
  QWidget* Panel4 = nullptr;       // tree panel
  QTreeWidget* TreeView1 = nullptr;
  QSplitter* Splitter2 = nullptr;  // list over the text tabs
  QWidget* Panel5 = nullptr;
  QTableWidget* ListView1 = nullptr;
  TextTabs* TabControl1 = nullptr;
  StatusPanels* StatusBar1 = nullptr;
  // The second receiver's line under the first's: hidden while only one receiver runs.
  StatusPanels* StatusBar2 = nullptr;
};

// Builds the controls into `form` with the layout's sizes; panel and list sizes from the settings
// are applied later by the form.
MainControls BuildMainControls(QWidget* form, const Translation& text);

// Places the spectrum frame and the lamp against the right edge of a client area this wide.
void PlaceToolBarIndicators(const MainControls& controls, int clientWidth);

}  // namespace seaherald
