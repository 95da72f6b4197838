#pragma once

#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "app/UiLanguage.h"
#include "msglog/UiText.h"

class QTranslator;

namespace seaherald {

// The window's language over the toolkit's translator: the Japanese texts are the sources, and
// the English window looks each of them up in the translation built into the program.
class Translation final : public UiText {
 public:
  explicit Translation(UiLanguage language);
  ~Translation() override;
  Translation(const Translation&) = delete;
  Translation& operator=(const Translation&) = delete;

  // The language to speak: the environment variable, then the settings value, then the locale.
  static UiLanguage Choose(std::string_view settingsValue);

  UiLanguage Language() const { return language_; }
  // A Japanese text (UTF-8) in the window's language; the text itself when it has no translation.
  // `disambiguation` tells apart uses of one text that translate differently.
  QString Tr(const char* japanese, const char* disambiguation = nullptr) const;

  std::string Translate(std::string_view sjis) const override;
  int NameLang() const override;

 private:
  UiLanguage language_;
  std::unique_ptr<QTranslator> translator_;
};

// For windows built without a main window (their own tests): texts as written.
const Translation& JapaneseTranslation();

}  // namespace seaherald
