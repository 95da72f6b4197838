#include "WindowFixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/LogBrowserWidgets.h"
#include "app/TextTabs.h"
#include "platform/CodePage.h"

namespace seaherald::test {

std::string Sjis(std::string_view utf8) {
  return Cp932Text(utf8);
}

bool ScriptedDialogs::Confirm(const std::string& sjis) {
  confirmations.push_back(sjis);
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<FontChoice> ScriptedChoosers::ChooseFont(const FontChoice& current) {
  fontOffered.push_back(current);
  return fontAnswer;
}

std::optional<std::uint32_t> ScriptedChoosers::ChooseColour(std::uint32_t currentBgr) {
  colourOffered.push_back(currentBgr);
  return colourAnswer;
}

WindowTest::WindowTest() {
  std::string pattern = (std::filesystem::temp_directory_path() / "seaherald-gui-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  dir_ = pattern;
  paths_ = AppPaths{dir_ / "seaherald.ini", dir_ / "log"};
}

WindowTest::~WindowTest() {
  window_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void WindowTest::WriteSettings(std::string_view utf8Text) {
  std::ofstream(paths_.settingsFile, std::ios::binary) << Sjis(utf8Text);
}

void WindowTest::WriteLog(std::string_view utf8Name, std::string_view savedAt, int errors,
                          const std::vector<std::string>& utf8BodyLines) {
  std::filesystem::create_directories(paths_.logFolder);
  char count[32];
  std::snprintf(count, sizeof count, "%03d", errors);
  std::string content =
      "Last received " + std::string(savedAt) + "\r\nDetected " + count + " error\r\n-\r\n";
  for (const std::string& line : utf8BodyLines)
    content += Sjis(line) + "\r\n";
  std::ofstream(paths_.logFolder / std::string(utf8Name), std::ios::binary) << content;
}

bool WindowTest::LogExists(std::string_view utf8Name) const {
  return std::filesystem::exists(paths_.logFolder / std::string(utf8Name));
}

TForm1& WindowTest::Window() {
  if (!window_) {
    window_ = std::make_unique<TForm1>(paths_, FormServices{&dialogs_, &choosers_, &clock_});
  }
  return *window_;
}

TForm1& WindowTest::ShownWindow() {
  TForm1& window = Window();
  if (!window.isVisible()) {
    window.show();
    QCoreApplication::processEvents();
  }
  return window;
}

void WindowTest::ClickTreeNode(int index) {
  QTreeWidget* tree = ShownWindow().Controls().TreeView1;
  QTreeWidgetItem* node = window_->BrowserWidgets().TreeNode(index);
  ASSERT_NE(node, nullptr);
  tree->scrollToItem(node);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

void WindowTest::ClickListRow(int row) {
  QTableWidget* list = ShownWindow().Controls().ListView1;
  ASSERT_LT(row, list->rowCount());
  list->scrollToItem(list->item(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row, 0)).center());
}

void WindowTest::ClickColumnHeading(int column) {
  QHeaderView* header = ShownWindow().Controls().ListView1->horizontalHeader();
  const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                      header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

void WindowTest::ClickTab(int tab) {
  QTabBar* tabs = ShownWindow().Controls().TabControl1->Tabs();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
}

QString WindowTest::TreeLabel(int index) {
  QTreeWidgetItem* node = Window().BrowserWidgets().TreeNode(index);
  return node == nullptr ? QString() : node->text(0);
}

QStringList WindowTest::ListRowTexts(int row) {
  QTableWidget* list = Window().Controls().ListView1;
  QStringList texts;
  for (int column = 0; column < list->columnCount(); ++column) {
    const QTableWidgetItem* item = list->item(row, column);
    texts << (item == nullptr ? QString() : item->text());
  }
  return texts;
}

QString WindowTest::PaneText() {
  return Window().Controls().TabControl1->Memo1()->toPlainText();
}

QString WindowTest::LabelText() {
  return Window().Controls().TabControl1->Label1()->text();
}

int WindowTest::ActiveTab() {
  return Window().Controls().TabControl1->Tabs()->currentIndex();
}

}  // namespace seaherald::test
