#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Choosers.h"
#include "app/TForm1.h"
#include "msglog/DialogService.h"
#include "platform/LocalClock.h"

#include <QRect>
#include <ostream>

// Readable failure messages for the toolkit's types.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

namespace seaherald::test {

// Shift-JIS bytes of a UTF-8 literal.
std::string Sjis(std::string_view utf8);

// Records every dialog and answers confirmations from a queue (No when the queue is empty).
class ScriptedDialogs final : public DialogService {
 public:
  void Beep() override { ++beeps; }
  void ShowError(const std::string& sjis) override { errors.push_back(sjis); }
  void ShowInformation(const std::string& sjis) override { information.push_back(sjis); }
  bool Confirm(const std::string& sjis) override;

  int beeps = 0;
  std::vector<std::string> errors;
  std::vector<std::string> information;
  std::vector<std::string> confirmations;
  std::deque<bool> answers;
};

// Answers the font and colour choosers as a user would; nothing set means "cancel".
class ScriptedChoosers final : public Choosers {
 public:
  std::optional<FontChoice> ChooseFont(const FontChoice& current) override;
  std::optional<std::uint32_t> ChooseColour(std::uint32_t currentBgr) override;

  std::optional<FontChoice> fontAnswer;
  std::optional<std::uint32_t> colourAnswer;
  std::vector<FontChoice> fontOffered;
  std::vector<std::uint32_t> colourOffered;
};

class FixedClock final : public LocalClock {
 public:
  LocalDateTime Now() const override { return now; }
  LocalDateTime now{2024, 3, 31, 12, 0, 0};
};

// A main window over a temporary settings file and log folder.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Settings file text (UTF-8 here, stored as Shift-JIS).
  void WriteSettings(std::string_view utf8Text);
  // A log file as the message log writes it; the name is UTF-8, the body lines are UTF-8 and
  // stored as Shift-JIS with CR LF line ends.
  void WriteLog(std::string_view utf8Name, std::string_view savedAt, int errors,
                const std::vector<std::string>& utf8BodyLines);
  bool LogExists(std::string_view utf8Name) const;
  TForm1& Window();  // built on first use
  // Built and shown, as the user sees it.
  TForm1& ShownWindow();

  // Mouse clicks as the user makes them.
  void ClickTreeNode(int index);
  void ClickListRow(int row);
  void ClickColumnHeading(int column);
  void ClickTab(int tab);

  // Texts as the user sees them.
  QString TreeLabel(int index);
  QStringList ListRowTexts(int row);
  QString PaneText();
  QString LabelText();
  int ActiveTab();

  std::filesystem::path dir_;
  AppPaths paths_;
  ScriptedDialogs dialogs_;
  ScriptedChoosers choosers_;
  FixedClock clock_;
  std::unique_ptr<TForm1> window_;
};

}  // namespace seaherald::test
