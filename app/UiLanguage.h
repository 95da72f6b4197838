#pragma once

#include <optional>
#include <string_view>

namespace seaherald {

enum class UiLanguage { Japanese, English };

// The settings key that chooses the window's language ("ja" or "en"); the program only reads it.
inline constexpr std::string_view UiLanguageSection = "Disp";
inline constexpr std::string_view UiLanguageKey = "Language";
// The environment variable that overrides both, for tests ("ja" or "en").
inline constexpr const char* UiLanguageVariable = "SEAHERALD_LANG";

// "ja" or "en" in either letter case, blanks around allowed; nothing for any other text.
std::optional<UiLanguage> ParseUiLanguage(std::string_view text);

// The environment variable wins, then the settings key; an empty or unknown value counts as
// absent. Without either the locale decides: a Japanese locale ("ja", "ja_JP.UTF-8", "ja-JP")
// gives Japanese, any other English.
UiLanguage ChooseUiLanguage(std::string_view environment, std::string_view setting,
                            std::string_view localeName);

}  // namespace seaherald
