#include "msglog/UiText.h"

#include <vector>

namespace seaherald {

namespace {

class Japanese final : public UiText {
 public:
  std::string Translate(std::string_view sjis) const override { return std::string(sjis); }
  int NameLang() const override { return 1; }
};

const Japanese kJapanese;

}  // namespace

const UiText& JapaneseUiText() {
  return kJapanese;
}

// One pass from left to right: a Shift-JIS trail byte is never '%' (0x25), so no placeholder is
// found inside a double-byte character.
std::string Compose(std::string_view pattern, std::initializer_list<std::string_view> args) {
  const std::vector<std::string_view> values(args);
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (pattern[i] == '%' && next >= '1' && next <= '9' &&
        static_cast<std::size_t>(next - '1') < values.size()) {
      text.append(values[static_cast<std::size_t>(next - '1')]);
      ++i;
    } else {
      text.push_back(pattern[i]);
    }
  }
  return text;
}

}  // namespace seaherald
