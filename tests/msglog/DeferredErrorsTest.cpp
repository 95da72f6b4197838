#include "msglog/DeferredErrors.h"

#include <gtest/gtest.h>

#include <string>

#include "MsglogFakes.h"

namespace seaherald {
namespace {

// A failing disk under a receiver left alone: every header fails with its own text. The box lists
// at most MostTexts of them and counts the rest.
TEST(DeferredErrors, ABoxListsAtMostMostTextsAndCountsTheRest) {
  testing::FakeDialogs dialogs;
  int scheduled = 0;
  DeferredErrors errors(dialogs, [&] { ++scheduled; });
  const int failures = static_cast<int>(DeferredErrors::MostTexts) + 7;
  for (int i = 0; i < failures; ++i) {
    errors.ShowError("GA" + std::to_string(i));
    // The same text is listed once; beyond the limit every failure counts.
    if (i < static_cast<int>(DeferredErrors::MostTexts)) errors.ShowError("GA" + std::to_string(i));
  }
  EXPECT_EQ(scheduled, 1);
  errors.ShowPending();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  const std::string& box = dialogs.errors.front();
  EXPECT_NE(box.find("GA0\nGA1\n"), std::string::npos) << box;
  EXPECT_NE(box.find("GA" + std::to_string(DeferredErrors::MostTexts - 1) + "\n... (+7)"),
            std::string::npos)
      << box;
  EXPECT_EQ(box.find("GA" + std::to_string(DeferredErrors::MostTexts) + "\n"), std::string::npos);

  errors.ShowError("later");
  errors.ShowPending();
  ASSERT_EQ(dialogs.errors.size(), 2u);
  EXPECT_EQ(dialogs.errors.back(), "later") << "the count belongs to the box it was shown with";
}

}  // namespace
}  // namespace seaherald
