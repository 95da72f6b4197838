#include "tools/ConsoleViews.h"

#include <cstdlib>

#include "app/UiLanguage.h"
#include "platform/ShowableUtf8.h"

namespace seaherald::decodetool {

void ReportingDialogs::ShowError(const std::string& sjis) {
  report_(ShowableUtf8(converter_, sjis));
}

void ReportingDialogs::ShowInformation(const std::string& sjis) {
  report_(ShowableUtf8(converter_, sjis));
}

namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The locale that names the language of messages, as the C library picks it.
std::string_view MessagesLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (!Variable(name).empty()) return Variable(name);
  }
  return {};
}

}  // namespace

ConsoleUiText::ConsoleUiText()
    : english_(ChooseUiLanguage(Variable(UiLanguageVariable), "", MessagesLocale()) ==
               UiLanguage::English) {}

std::string ConsoleUiText::Translate(std::string_view sjis) const {
  // The one fixed text the message log reports: "%1 に書き込めません".
  if (english_ && sjis == Cp932Text("%1 に書き込めません")) return "cannot write %1";
  return std::string(sjis);
}

}  // namespace seaherald::decodetool
