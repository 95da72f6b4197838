#include "app/MainControls.h"

#include <QFrame>
#include <QHeaderView>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/SpectrumView.h"
#include "app/StatusPanels.h"
#include "app/TextTabs.h"
#include "app/Translation.h"
#include "app/ViewFonts.h"
#include "app/WrappingTree.h"

namespace seaherald {

namespace {

constexpr int ToolBarHeight = 30;
constexpr int SpectrumFrameFromRight = 100;
constexpr int LampFromRight = 10;
constexpr int IndicatorTop = 3;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QToolButton* ToolButton(QWidget* parent, const char* name, const QString& caption, int x) {
  auto* button = Named(new QToolButton(parent), name);
  button->setText(caption);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(x, 1, 78, 28);
  return button;
}

QFrame* BlackSunkenPanel(QWidget* parent, const char* name, int width, int height) {
  auto* panel = Named(new QFrame(parent), name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(1);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, Qt::black);
  panel->setPalette(palette);
  panel->resize(width, height);
  return panel;
}

// Selections stay as visible when the view loses focus.
void KeepSelectionVisible(QWidget* view) {
  QPalette palette = view->palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  view->setPalette(palette);
}

void BuildToolBar(MainControls& c, QWidget* form, const Translation& text) {
  c.Panel6 = Named(new QFrame(form), "Panel6");
  c.Panel6->setFixedHeight(ToolBarHeight);
  c.SpeedButton5 = ToolButton(c.Panel6, "SpeedButton5", text.Tr("設　　定"), 1);
  c.SpeedButton1 = ToolButton(c.Panel6, "SpeedButton1", text.Tr("モニター"), 85);
  c.SpeedButton1->setCheckable(true);
  c.Panel2 = BlackSunkenPanel(c.Panel6, "Panel2", 86, 25);
  c.Panel2->setEnabled(false);
  c.Image1 = new SpectrumView(c.Panel2);
  c.Image1->setGeometry(1, 1, 84, 23);
  c.Panel1 = BlackSunkenPanel(c.Panel6, "Panel1", 6, 25);
}

QTreeWidget* BuildTree(QWidget* parent) {
  auto* tree = Named(new QTreeWidget(parent), "TreeView1");
  tree->setHeaderHidden(true);
  tree->setColumnCount(1);
  // A label wider than the panel wraps onto a second line instead of being cut short or
  // scrolling sideways (the English type names are long).
  tree->header()->setStretchLastSection(true);
  tree->setItemDelegate(new WrappingTreeDelegate(tree));
  tree->setIndentation(19);
  tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), 12));
  KeepSelectionVisible(tree);
  return tree;
}

QTableWidget* BuildList(QWidget* parent, const Translation& text) {
  auto* list = Named(new QTableWidget(0, 4, parent), "ListView1");
  list->setHorizontalHeaderLabels(
      {text.Tr("受信時間"), text.Tr("電文番号"), text.Tr("内容"), QStringLiteral("ERR")});
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setSortingEnabled(false);
  list->setWordWrap(false);
  list->verticalHeader()->hide();
  list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list->horizontalHeader()->setSectionsClickable(true);
  list->horizontalHeader()->setHighlightSections(false);
  list->horizontalHeader()->setStretchLastSection(false);
  list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  const int widths[] = {120, 80, 200, 50};
  for (int column = 0; column < 4; ++column)
    list->setColumnWidth(column, widths[column]);
  KeepSelectionVisible(list);
  return list;
}

void BuildBody(MainControls& c, QWidget* form, const Translation& text) {
  c.Panel7 = Named(new QWidget(form), "Panel7");
  auto* bodyLayout = new QVBoxLayout(c.Panel7);
  bodyLayout->setContentsMargins(0, 0, 0, 0);
  c.Splitter1 = Named(new QSplitter(Qt::Horizontal, c.Panel7), "Splitter1");
  c.Splitter1->setHandleWidth(2);
  c.Splitter1->setChildrenCollapsible(false);
  bodyLayout->addWidget(c.Splitter1);

  c.Panel4 = Named(new QWidget(c.Splitter1), "Panel4");
  auto* treeLayout = new QVBoxLayout(c.Panel4);
  treeLayout->setContentsMargins(0, 0, 0, 0);
  c.TreeView1 = BuildTree(c.Panel4);
  treeLayout->addWidget(c.TreeView1);

  c.Panel5 = Named(new QWidget(c.Splitter1), "Panel5");
  auto* rightLayout = new QVBoxLayout(c.Panel5);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  c.Splitter2 = Named(new QSplitter(Qt::Vertical, c.Panel5), "Splitter2");
  c.Splitter2->setHandleWidth(3);
  c.Splitter2->setChildrenCollapsible(false);
  rightLayout->addWidget(c.Splitter2);
  c.ListView1 = BuildList(c.Splitter2, text);
  c.TabControl1 = new TextTabs(text, c.Splitter2);

  // Docked panes keep their size when the window is resized; the rest takes the change.
  c.Splitter1->setStretchFactor(0, 0);
  c.Splitter1->setStretchFactor(1, 1);
  c.Splitter2->setStretchFactor(0, 0);
  c.Splitter2->setStretchFactor(1, 1);
}

}  // namespace

MainControls BuildMainControls(QWidget* form, const Translation& text) {
  MainControls controls;
  BuildToolBar(controls, form, text);
  BuildBody(controls, form, text);
  controls.StatusBar1 = new StatusPanels(form);
  controls.StatusBar2 = new StatusPanels(form);
  controls.StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
  controls.StatusBar2->hide();
  auto* formLayout = new QVBoxLayout(form);
  formLayout->setContentsMargins(0, 0, 0, 0);
  formLayout->setSpacing(0);
  formLayout->addWidget(controls.Panel6);
  formLayout->addWidget(controls.Panel7, 1);
  formLayout->addWidget(controls.StatusBar1);
  formLayout->addWidget(controls.StatusBar2);
  return controls;
}

void PlaceToolBarIndicators(const MainControls& controls, int clientWidth) {
  controls.Panel2->move(clientWidth - SpectrumFrameFromRight, IndicatorTop);
  controls.Panel1->move(clientWidth - LampFromRight, IndicatorTop);
}

}  // namespace seaherald
