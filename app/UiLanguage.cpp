#include "app/UiLanguage.h"

#include <cctype>
#include <string>

namespace seaherald {

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

std::optional<UiLanguage> ParseUiLanguage(std::string_view text) {
  const std::string value = Lower(Trimmed(text));
  if (value == "ja") return UiLanguage::Japanese;
  if (value == "en") return UiLanguage::English;
  return std::nullopt;
}

UiLanguage ChooseUiLanguage(std::string_view environment, std::string_view setting,
                            std::string_view localeName) {
  if (const auto chosen = ParseUiLanguage(environment)) return *chosen;
  if (const auto chosen = ParseUiLanguage(setting)) return *chosen;
  const std::string locale = Lower(localeName.substr(0, 3));
  const bool japanese = locale == "ja" || locale == "ja_" || locale == "ja-" || locale == "ja.";
  return japanese ? UiLanguage::Japanese : UiLanguage::English;
}

}  // namespace seaherald
