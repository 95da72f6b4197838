// Which language the window speaks: the environment variable over the settings key over the
// locale, and only "ja" and "en" count as choices.
#include <gtest/gtest.h>

#include "app/UiLanguage.h"

namespace seaherald {
namespace {

constexpr UiLanguage Ja = UiLanguage::Japanese;
constexpr UiLanguage En = UiLanguage::English;

TEST(UiLanguageTest, JapaneseLocalesGiveJapaneseAndEveryOtherLocaleEnglish) {
  for (const char* locale : {"ja", "ja_JP", "ja_JP.UTF-8", "ja-JP", "JA_jp.eucJP", "ja.UTF-8"}) {
    EXPECT_EQ(ChooseUiLanguage("", "", locale), Ja) << locale;
  }
  for (const char* locale : {"en_US.UTF-8", "en-GB", "de_DE", "C", "POSIX", "", "jam", "jv_ID"}) {
    EXPECT_EQ(ChooseUiLanguage("", "", locale), En) << locale;
  }
}

TEST(UiLanguageTest, SettingsKeyOverridesTheLocaleAndTheVariableOverridesBoth) {
  EXPECT_EQ(ChooseUiLanguage("", "en", "ja_JP.UTF-8"), En);
  EXPECT_EQ(ChooseUiLanguage("", "ja", "en_US.UTF-8"), Ja);
  EXPECT_EQ(ChooseUiLanguage("ja", "en", "en_US.UTF-8"), Ja);
  EXPECT_EQ(ChooseUiLanguage("en", "ja", "ja_JP.UTF-8"), En);
}

TEST(UiLanguageTest, OnlyJaAndEnAreChoicesAndAnythingElseCountsAsAbsent) {
  EXPECT_EQ(ParseUiLanguage(" EN "), En);
  EXPECT_EQ(ParseUiLanguage("Ja"), Ja);
  for (const char* value : {"", "english", "jp", "e", "en_US", "1"}) {
    EXPECT_EQ(ParseUiLanguage(value), std::nullopt) << value;
  }
  EXPECT_EQ(ChooseUiLanguage("fr", "en", "ja_JP"), En) << "an unknown variable falls through";
  EXPECT_EQ(ChooseUiLanguage("", "klingon", "ja_JP"), Ja) << "an unknown key falls through";
}

}  // namespace
}  // namespace seaherald
