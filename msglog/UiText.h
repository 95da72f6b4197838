#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace seaherald {

// The language of the texts the user sees. The program's texts are written in Japanese; the core
// passes each fixed text (Shift-JIS) through Translate before it composes a message, and names
// stations and message types from the catalogue in NameLang. The window supplies the translation;
// without one (tools, core tests) everything stays Japanese.
class UiText {
 public:
  virtual ~UiText() = default;
  // A fixed Japanese text in the user's language (Shift-JIS bytes either way).
  virtual std::string Translate(std::string_view sjis) const = 0;
  // Catalogue names are shown in this language: 0 English, 1 Japanese.
  virtual int NameLang() const = 0;
};

// Texts as written, catalogue names in Japanese.
const UiText& JapaneseUiText();

// `pattern` with %1 to %9 replaced by the arguments; other characters, and placeholders inside
// the arguments, stay as they are.
std::string Compose(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace seaherald
