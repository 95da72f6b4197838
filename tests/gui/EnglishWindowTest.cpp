// The English window: every window of the program built as its entry builds them, over fake
// sound devices, in English. No Japanese text may be left anywhere a user can see it, every text
// must fit its control at the layout's sizes, and the core's messages and catalogue names come
// in English too. The Japanese window is what every other test of this group checks.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <fstream>
#include <iterator>

#include "WindowFixture.h"
#include "app/LogBrowserWidgets.h"
#include "app/Program.h"
#include "app/QtDialogService.h"
#include "app/QtText.h"
#include "app/StatusPanels.h"
#include "app/TForm3.h"
#include "app/TextTabs.h"
#include "app/Translation.h"
#include "audio/Unit8.h"
#include "audio/Unit9.h"
#include "msglog/Catalogue.h"
#include "msglog/LogBrowser.h"
#include "msglog/MessageLog.h"
#include "tests/audio/AudioFakes.h"

namespace seaherald::test {
namespace {

// Kana, ideographs, ideographic punctuation and full-width forms.
bool HasJapanese(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) ||
        (u >= 0xFF00 && u <= 0xFFEF)) {
      return true;
    }
  }
  return false;
}

QString Where(const QWidget* widget) {
  return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                        : widget->objectName();
}

struct ShownText {
  const QWidget* widget;
  QString text;
};

// Every text a widget shows: captions, titles, tabs, headings, items and pane contents.
void CollectTexts(const QWidget* w, std::vector<ShownText>& out) {
  if (w->isWindow()) out.push_back({w, w->windowTitle()});
  if (const auto* b = qobject_cast<const QAbstractButton*>(w)) out.push_back({w, b->text()});
  if (const auto* l = qobject_cast<const QLabel*>(w)) out.push_back({w, l->text()});
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) out.push_back({w, g->title()});
  if (const auto* e = qobject_cast<const QPlainTextEdit*>(w)) {
    out.push_back({w, e->toPlainText()});
  }
  if (const auto* t = qobject_cast<const QTabBar*>(w)) {
    for (int i = 0; i < t->count(); ++i)
      out.push_back({w, t->tabText(i)});
  }
  if (const auto* c = qobject_cast<const QComboBox*>(w)) {
    for (int i = 0; i < c->count(); ++i)
      out.push_back({w, c->itemText(i)});
  }
  if (const auto* t = qobject_cast<const QTableWidget*>(w)) {
    for (int column = 0; column < t->columnCount(); ++column) {
      out.push_back({w, t->horizontalHeaderItem(column)->text()});
      for (int row = 0; row < t->rowCount(); ++row)
        out.push_back({w, t->item(row, column)->text()});
    }
  }
  if (const auto* t = qobject_cast<const QTreeWidget*>(w)) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(t)); *it; ++it) {
      out.push_back({w, (*it)->text(0)});
    }
  }
}

std::vector<ShownText> AllTexts(const QWidget& root) {
  std::vector<ShownText> texts;
  CollectTexts(&root, texts);
  for (const QWidget* child : root.findChildren<QWidget*>())
    CollectTexts(child, texts);
  return texts;
}

// Room a control leaves for its text, by kind.
int TextRoom(const QWidget* w) {
  constexpr int Bevel = 2;       // each side of a button
  constexpr int TitleInset = 8;  // each side of a group box title
  if (qobject_cast<const QCheckBox*>(w)) {
    return w->width() - w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) -
           w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
  }
  if (qobject_cast<const QAbstractButton*>(w)) return w->width() - 2 * Bevel;
  if (qobject_cast<const QGroupBox*>(w)) return w->width() - 2 * TitleInset;
  if (const auto* l = qobject_cast<const QLabel*>(w)) return l->contentsRect().width();
  return w->width();
}

QString ShownCaption(const QWidget* w) {
  if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
    return QString(b->text()).remove(QLatin1Char('&'));
  }
  if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
  return {};
}

// Where a label draws its text, in its parent's coordinates.
QRect LabelTextRect(const QLabel* l) {
  const QSize size(l->fontMetrics().horizontalAdvance(l->text()), l->fontMetrics().height());
  return QStyle::alignedRect(l->layoutDirection(), l->alignment(), size, l->contentsRect())
      .translated(l->pos());
}

// Texts that do not fit their control, and label texts that run into a neighbour or out of
// their parent, among the controls shown: the English captions are often longer than the Japanese
// ones.
QStringList CutTexts(const QWidget& root) {
  QStringList cut;
  for (const QWidget* w : root.findChildren<QWidget*>()) {
    const QString caption = ShownCaption(w);
    if (caption.isEmpty() || !w->isVisibleTo(&root)) continue;
    int width = 0;  // of the widest line: a caption may be set on two
    for (const QString& line : caption.split(QLatin1Char('\n')))
      width = std::max(width, w->fontMetrics().horizontalAdvance(line));
    if (width > TextRoom(w)) {
      cut << QStringLiteral("%1 \"%2\": %3 px in %4")
                 .arg(Where(w), caption)
                 .arg(width)
                 .arg(TextRoom(w));
    }
    const auto* label = qobject_cast<const QLabel*>(w);
    if (label == nullptr || w->parentWidget() == nullptr) continue;
    const QRect textRect = LabelTextRect(label);
    if (!w->parentWidget()->rect().contains(textRect)) {
      cut << QStringLiteral("%1 \"%2\" leaves its parent").arg(Where(w), caption);
    }
    for (const QObject* sibling : w->parentWidget()->children()) {
      const auto* other = qobject_cast<const QWidget*>(sibling);
      if (other == nullptr || other == w || other->isHidden()) continue;
      if (textRect.intersects(other->geometry())) {
        cut << QStringLiteral("%1 \"%2\" runs into %3").arg(Where(w), caption, Where(other));
      }
    }
  }
  return cut;
}

// Forces English for one test; the group's main forces Japanese for all others.
class EnglishWindow : public WindowTest {
 protected:
  EnglishWindow() { qputenv(UiLanguageVariable, "en"); }
  ~EnglishWindow() override {
    program_.reset();
    qputenv(UiLanguageVariable, "ja");
  }

  // The program's windows as its entry builds them, the main one at its layout size.
  Program& StartProgram() {
    backend_.devices = {{"Line In", "line"}};
    program_ =
        std::make_unique<Program>(paths_, backend_, FormServices{&dialogs_, &choosers_, &clock_});
    program_->Window().show();
    program_->Window().resize(876, 663);
    for (QWidget* dialog : Dialogs())
      dialog->show();
    QCoreApplication::processEvents();
    return *program_;
  }
  std::vector<QWidget*> Dialogs() {
    TForm1& main = program_->Window();
    return {main.findChild<TForm3*>(), main.findChild<TForm8*>(), main.findChild<TForm9*>()};
  }

  soundtest::FakeBackend backend_;
  std::unique_ptr<Program> program_;
};

TEST_F(EnglishWindow, NoJapaneseIsLeftInAnyWindowDialogOrList) {
  WriteLog("GA12.txt", "2024/03/30 10:00:00", 0, {"ZCZC GA12", "NAHA NAVTEX", "NNNN"});
  WriteLog("ＨＢ０１.txt", "2024/03/30 11:00:00", 1, {"ＺＣＺＣ　ＨＢ０１", "門司", "ＮＮＮＮ"});
  WriteSettings("[Disp]\nViewLangNum=0\nViewBaseNum=0\nViewTypeNum=0\n[Set]\nDecLang=1\n");
  Program& program = StartProgram();
  TForm1& window = program.Window();

  const std::vector<ShownText> texts = AllTexts(window);
  ASSERT_GT(texts.size(), 182u) << "the tree's nodes alone are 182";
  for (const ShownText& shown : texts) {
    EXPECT_FALSE(HasJapanese(shown.text))
        << Where(shown.widget).toStdString() << ": " << shown.text.toStdString();
  }
  EXPECT_EQ(window.Controls().TreeView1->topLevelItem(0)->text(0), QStringLiteral("English (1)"));
  EXPECT_EQ(window.Controls().TreeView1->topLevelItem(1)->child(1)->text(0),
            QStringLiteral("Moji (1)"));

  // What the window shows later: the station of a message in progress, a stored message's title.
  window.Log().AddReceivedLine("ZCZC KA01", false);
  EXPECT_EQ(window.Controls().StatusBar1->PanelText(2), QStringLiteral("Kushiro"));
  window.BrowserWidgets().SelectRow(0);
  window.Browser().ShowStoredMessage();
  EXPECT_EQ(window.Controls().TabControl1->Label1()->text(), QStringLiteral("Message GA12"));
}

TEST_F(EnglishWindow, EveryTextFitsItsControlAtTheLayoutSizes) {
  Program& program = StartProgram();
  // The layout's size and the smallest the user can drag the window to.
  for (const QSize size : {QSize(876, 663), QSize(700, 500)}) {
    program.Window().resize(size);
    QCoreApplication::processEvents();
    EXPECT_EQ(CutTexts(program.Window()), QStringList()) << size.width() << "x" << size.height();
  }
  // The status panel naming the station of a message in progress holds every station's name.
  StatusPanels* status = program.Window().Controls().StatusBar1;
  for (int base = 0; base < kBaseCount; ++base) {
    const QString name = ToQString(Catalogue::BaseName(0, base));
    EXPECT_LE(status->fontMetrics().horizontalAdvance(name) + 4, status->PanelWidth(2))
        << name.toStdString();
  }
  // Headings at the columns' layout widths, tabs at their fixed width.
  QTableWidget* list = program.Window().Controls().ListView1;
  const int layoutWidths[] = {120, 80, 200, 50};
  for (int column = 0; column < 4; ++column) {
    const QString heading = list->horizontalHeaderItem(column)->text();
    EXPECT_LE(list->horizontalHeader()->fontMetrics().horizontalAdvance(heading) + 8,
              layoutWidths[column])
        << heading.toStdString();
  }
  QTabBar* tabs = program.Window().Controls().TabControl1->Tabs();
  const int tabMargins = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
  for (int tab = 0; tab < tabs->count(); ++tab) {
    EXPECT_LE(tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)),
              tabs->tabRect(tab).width() - tabMargins)
        << tabs->tabText(tab).toStdString();
  }
  // The tree's long type names wrap within the panel: no sideways scrolling, nothing cut.
  QTreeWidget* tree = program.Window().Controls().TreeView1;
  tree->expandAll();
  QCoreApplication::processEvents();
  EXPECT_FALSE(tree->horizontalScrollBar()->isVisible());
  for (QTreeWidgetItemIterator it(tree); *it; ++it) {
    int depth = 0;
    for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent())
      ++depth;
    const int room = tree->viewport()->width() - (depth + 1) * tree->indentation();
    const QString text = (*it)->text(0);
    for (const QString& word : text.split(QLatin1Char(' ')))
      EXPECT_LE(tree->fontMetrics().horizontalAdvance(word), room) << text.toStdString();
    const QRect wrapped =
        tree->fontMetrics().boundingRect(QRect(0, 0, room, 1000), Qt::TextWordWrap, text);
    EXPECT_LE(wrapped.height(), tree->visualItemRect(*it).height()) << text.toStdString();
  }
}

// The second receiver's line, tab and settings at the smallest window, in both languages.
TEST_F(EnglishWindow, SecondReceiverFitsInBothLanguages) {
  WriteSettings("[Set]\nReceiver2=1\nAutoSet2=0\n");
  for (const char* language : {"en", "ja"}) {
    qputenv(UiLanguageVariable, language);
    TForm1& window = StartProgram().Window();
    window.resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.Controls().StatusBar2->isVisible()) << language;
    EXPECT_EQ(CutTexts(window), QStringList()) << language;
    QTabBar* tabs = window.Controls().TabControl1->Tabs();
    ASSERT_EQ(tabs->count(), 3) << language;
    const int margins = tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
    for (int tab = 0; tab < tabs->count(); ++tab) {
      EXPECT_LE(tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)),
                tabs->tabRect(tab).width() - margins)
          << language << " " << tabs->tabText(tab).toStdString();
    }
    EXPECT_LE(tabs->geometry().right(), window.Controls().TabControl1->SpeedButton7()->x())
        << language;
    program_.reset();
  }
}

TEST_F(EnglishWindow, ConfirmationsAndMessagesUseEnglishNames) {
  WriteLog("ＧＡ０１.txt", "2024/03/30 10:00:00", 0, {"ＺＣＺＣ　ＧＡ０１", "ＮＮＮＮ"});
  WriteLog("QA02.txt", "2024/03/30 10:00:00", 0, {"ZCZC QA02", "NNNN"});
  WriteSettings("[Disp]\nViewLangNum=1\nViewBaseNum=0\nViewTypeNum=0\n");
  TForm1& window = ShownWindow();
  // The group of letters the catalogue does not name, as the tree calls it with an area chosen.
  EXPECT_EQ(TreeLabel(Catalogue::BaseNodeIndex(0, kOtherBase)),
            QStringLiteral("Other stations (1)"));
  // The start-up schedule keeps its times and names the stations in English.
  EXPECT_TRUE(PaneText().startsWith(QStringLiteral(
      "SEAHERALD ver.1.0.1 build000\n\nNAVTEX broadcast schedule\n    English (518kHz)\n"
      "\tNaha\tMoji\tYokohama\tOtaru\tKushiro\n\t0200\t0210\t0220\t0230\t0240\n")))
      << PaneText().toStdString();
  EXPECT_TRUE(PaneText().endsWith(QStringLiteral("\t2100\t2117\t2134\t2151\t2208 JST")));

  window.Browser().DeleteAllOfSelection();
  ASSERT_EQ(dialogs_.confirmations.size(), 1u);
  EXPECT_EQ(dialogs_.confirmations[0],
            "Every log of Japanese, station Naha, Navigational warnings will be deleted.\n"
            "Are you sure?");
  ClickListRow(0);
  EXPECT_EQ(LabelText(), QStringLiteral("Message ＧＡ０１"));
  window.Browser().DeleteSelectedMessage();
  ASSERT_EQ(dialogs_.confirmations.size(), 2u);
  EXPECT_EQ(dialogs_.confirmations[1], Sjis("ＧＡ０１ will be deleted.\nAre you sure?"));
}

TEST_F(EnglishWindow, SoundFailuresAreReportedInEnglish) {
  backend_.outputOpens = false;
  program_ =
      std::make_unique<Program>(paths_, backend_, FormServices{&dialogs_, &choosers_, &clock_});
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "The playback device cannot be opened.");
}

// Message boxes name themselves and their buttons in the window's language.
TEST(EnglishMessageBoxes, CaptionsAndButtonsAreEnglish) {
  QWidget parent;
  const Translation english(UiLanguage::English);
  QtDialogService dialogs(&parent, english);
  QStringList seen;
  const auto answer = [&seen](QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen << box->windowTitle() + QLatin1Char(':') + box->text();
      for (QAbstractButton* button : box->buttons())
        seen << button->text();
      box->button(press)->click();
    });
  };
  answer(QMessageBox::Ok);
  dialogs.ShowError("Cannot write to /x");
  answer(QMessageBox::Ok);
  dialogs.ShowInformation("Opening");
  answer(QMessageBox::Yes);
  EXPECT_TRUE(dialogs.Confirm("Delete?"));
  seen.sort();
  EXPECT_EQ(seen, QStringList({"&No", "&Yes", "Confirm:Delete?", "Error:Cannot write to /x",
                               "Information:Opening", "OK", "OK"}));
}

// The settings key chooses the language when the variable is not set; the variable wins over it.
// Either way the file keeps the key as the user wrote it.
class WindowLanguage : public WindowTest {
 protected:
  ~WindowLanguage() override {
    window_.reset();
    qputenv(UiLanguageVariable, "ja");
  }
  QString SettingsCaption(const char* variable, std::string_view settings) {
    window_.reset();
    if (variable == nullptr) {
      qunsetenv(UiLanguageVariable);
    } else {
      qputenv(UiLanguageVariable, variable);
    }
    WriteSettings(settings);
    return Window().Controls().SpeedButton5->text();
  }
};

TEST_F(WindowLanguage, SettingsKeyChoosesAndTheVariableOverridesIt) {
  const QString english = QStringLiteral("Settings");
  const QString japanese = QStringLiteral("設　　定");
  EXPECT_EQ(SettingsCaption(nullptr, "[Disp]\nLanguage=en\n"), english);
  EXPECT_EQ(SettingsCaption(nullptr, "[Disp]\nLanguage=ja\n"), japanese);
  EXPECT_EQ(SettingsCaption("ja", "[Disp]\nLanguage=en\n"), japanese);
  EXPECT_EQ(SettingsCaption("en", "[Disp]\nLanguage=ja\n"), english);
  EXPECT_EQ(SettingsCaption("", "[Disp]\nLanguage=en\n"), english) << "empty counts as unset";

  window_->close();
  const std::string saved = Sjis("[Disp]\nLanguage=en\n");
  std::ifstream in(paths_.settingsFile, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(after.starts_with(saved)) << after;
}

}  // namespace
}  // namespace seaherald::test
