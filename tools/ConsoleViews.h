#pragma once

#include <functional>
#include <string>

#include "msglog/DialogService.h"
#include "msglog/StatusView.h"
#include "msglog/UiText.h"
#include "platform/CodePage.h"

namespace seaherald::decodetool {

// The status bar has no place on a console: what it would show is in the printed lines.
class QuietStatus final : public StatusView {
 public:
  void SetStatusText(int, const std::string&) override {}
};

// The window's message dialogs as lines of UTF-8 text handed to `report` (standard error in the
// tool). Nothing is ever confirmed, so nothing is deleted on the tool's behalf.
class ReportingDialogs final : public DialogService {
 public:
  explicit ReportingDialogs(std::function<void(const std::string& utf8)> report)
      : report_(std::move(report)) {}

  void Beep() override {}
  void ShowError(const std::string& sjis) override;
  void ShowInformation(const std::string& sjis) override;
  bool Confirm(const std::string&) override { return false; }

 private:
  std::function<void(const std::string&)> report_;
  CodePageConverter converter_;
};

// The tool's words for what the message log reports: the window's Japanese in a Japanese locale
// (or SEAHERALD_LANG=ja), English otherwise. Stations and types keep their Japanese names in the
// printed lines either way, as the window's files do.
class ConsoleUiText final : public UiText {
 public:
  ConsoleUiText();
  std::string Translate(std::string_view sjis) const override;
  int NameLang() const override { return 1; }

 private:
  bool english_;
};

}  // namespace seaherald::decodetool
