// Composing messages from a translated pattern: placeholders may stand in any order, and what is
// put in (a path, a received header) is never read as a placeholder itself.
#include <gtest/gtest.h>

#include "msglog/UiText.h"
#include "platform/CodePage.h"

namespace seaherald {
namespace {

TEST(ComposeTest, PlaceholdersTakeTheirArgumentsInAnyOrder) {
  EXPECT_EQ(Compose("%2 of %1, %2", {"a", "b"}), "b of a, b");
  EXPECT_EQ(Compose("Cannot write to %1", {"/tmp/%2%s%1.ini"}), "Cannot write to /tmp/%2%s%1.ini");
  EXPECT_EQ(Compose("100% %1 %3 %0 %", {"x"}), "100% x %3 %0 %") << "unknown ones stay";
  EXPECT_EQ(Compose("", {"x"}), "");
}

TEST(ComposeTest, ShiftJisPatternsAndArgumentsPassThroughByteForByte) {
  const std::string pattern = Cp932Text("%1を削除します。\nよろしいですか？");
  EXPECT_EQ(Compose(pattern, {Cp932Text("ＧＡ０１")}),
            Cp932Text("ＧＡ０１を削除します。\nよろしいですか？"));
  EXPECT_EQ(Compose(Cp932Text("ソ%1表"), {"x"}), Cp932Text("ソx表")) << "0x5C trail bytes";
}

TEST(ComposeTest, JapaneseTextIsTheDefaultLanguage) {
  EXPECT_EQ(JapaneseUiText().Translate(Cp932Text("英文")), Cp932Text("英文"));
  EXPECT_EQ(JapaneseUiText().NameLang(), 1);
}

}  // namespace
}  // namespace seaherald
