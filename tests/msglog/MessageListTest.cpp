#include "msglog/MessageList.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace seaherald {
namespace {

ListRow Row(std::string caption, std::string header, std::string content, std::string errors) {
  return {std::move(caption), {std::move(header), std::move(content), std::move(errors)}};
}

std::vector<std::string> SortedColumn(std::vector<ListRow> rows, int sortType, int column) {
  std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& a, const ListRow& b) {
    return CompareRows(a, b, sortType) < 0;
  });
  std::vector<std::string> texts;
  for (const ListRow& row : rows)
    texts.push_back(row.ColumnText(column));
  return texts;
}

const std::vector<ListRow> kRows = {
    Row("2024/03/02 10:00", "GA12", "beta", "9"),
    Row("2024/03/01 23:59", "HA01", "Alpha", "10"),
    Row("2024/03/03 00:00", "GB05", "\x82\xa0", "-"),
};

TEST(CompareRows, DefaultAndUnknownSortTypesPutTheNewestFirst) {
  const std::vector<std::string> newestFirst = {"2024/03/03 00:00", "2024/03/02 10:00",
                                                "2024/03/01 23:59"};
  for (const int sortType : {0, -1, 5, -5, 6, -6, 100, -100}) {
    EXPECT_EQ(SortedColumn(kRows, sortType, 0), newestFirst) << sortType;
  }
  EXPECT_EQ(SortedColumn(kRows, 1, 0),
            (std::vector<std::string>{"2024/03/01 23:59", "2024/03/02 10:00", "2024/03/03 00:00"}));
}

TEST(CompareRows, HeaderAndContentCompareAsUnsignedBytes) {
  EXPECT_EQ(SortedColumn(kRows, 2, 1), (std::vector<std::string>{"GA12", "GB05", "HA01"}));
  EXPECT_EQ(SortedColumn(kRows, -2, 1), (std::vector<std::string>{"HA01", "GB05", "GA12"}));
  // Upper case before lower case, and a Shift-JIS lead byte after every ASCII byte.
  EXPECT_EQ(SortedColumn(kRows, 3, 2), (std::vector<std::string>{"Alpha", "beta", "\x82\xa0"}));
  EXPECT_EQ(SortedColumn(kRows, -3, 2), (std::vector<std::string>{"\x82\xa0", "beta", "Alpha"}));
}

TEST(CompareRows, ErrorColumnSortsAsTextWithTheDashFirst) {
  EXPECT_EQ(SortedColumn(kRows, 4, 3), (std::vector<std::string>{"-", "10", "9"}));
  EXPECT_EQ(SortedColumn(kRows, -4, 3), (std::vector<std::string>{"9", "10", "-"}));
}

TEST(CompareRows, APrefixComesFirstAndMissingSubItemsCountAsEmpty) {
  const ListRow shortRow = Row("2024/03/01", "GA1", "", "");
  const ListRow longRow = Row("2024/03/01 00:00", "GA12", "", "");
  const ListRow unreadable{"", {}};
  EXPECT_LT(CompareRows(shortRow, longRow, 1), 0);
  EXPECT_LT(CompareRows(shortRow, longRow, 2), 0);
  EXPECT_GT(CompareRows(shortRow, longRow, -2), 0);
  EXPECT_LT(CompareRows(unreadable, longRow, 2), 0);
  EXPECT_EQ(CompareRows(unreadable, unreadable, 4), 0);
  EXPECT_EQ(CompareRows(longRow, longRow, 0), 0);
}

TEST(ColumnClick, ListsOfFewerThanTwoRowsKeepTheirOrder) {
  EXPECT_FALSE(SortTypeAfterColumnClick({}, 0));
  EXPECT_FALSE(SortTypeAfterColumnClick({kRows[0]}, 1));
}

TEST(ColumnClick, SortsAscendingOnlyWhenTheListStandsDescending) {
  const std::vector<ListRow> newestFirst = {kRows[2], kRows[0], kRows[1]};
  EXPECT_EQ(SortTypeAfterColumnClick(newestFirst, 0), 1);
  const std::vector<ListRow> oldestFirst = {kRows[1], kRows[0], kRows[2]};
  EXPECT_EQ(SortTypeAfterColumnClick(oldestFirst, 0), -1);
  EXPECT_EQ(SortTypeAfterColumnClick(oldestFirst, 1), 2);  // HA01 comes after GB05
  EXPECT_EQ(SortTypeAfterColumnClick(oldestFirst, 3), 4);  // "10" after "-"
  const std::vector<ListRow> same = {Row("2024/03/01 00:00", "A", "x", "0"),
                                     Row("2024/03/01 00:00", "B", "x", "0")};
  EXPECT_EQ(SortTypeAfterColumnClick(same, 0), -1);
  EXPECT_EQ(SortTypeAfterColumnClick(same, 2), -3);
}

TEST(ColumnClick, IgnoresColumnsTheListDoesNotHave) {
  EXPECT_FALSE(SortTypeAfterColumnClick(kRows, 4));
  EXPECT_FALSE(SortTypeAfterColumnClick(kRows, -1));
}

}  // namespace
}  // namespace seaherald
