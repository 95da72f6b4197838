#pragma once

#include <optional>
#include <string>
#include <vector>

namespace seaherald {

// Column indexes of the message list.
inline constexpr int kColumnReceived = 0;  // "受信時間": caption, "yyyy/mm/dd hh:mm"
inline constexpr int kColumnHeader = 1;    // "電文番号": the header (file name without ".txt")
inline constexpr int kColumnContent = 2;   // "内容": the seventh line of the file
inline constexpr int kColumnErrors = 3;    // "ERR": the stored error count, "-" for 999
inline constexpr int kColumnCount = 4;

// One row of the message list: caption (column 0) and sub-items (columns 1-3). A row whose log
// file could not be opened has an empty caption and no sub-items. Texts are Shift-JIS.
struct ListRow {
  std::string caption;
  std::vector<std::string> subItems;
  bool kept = false;  // tagged Keep: never deleted automatically

  // Text of column 0-3; empty for a sub-item the row does not have.
  const std::string& ColumnText(int column) const;
  friend bool operator==(const ListRow&, const ListRow&) = default;
};

// Compares two rows for the list order `sortType`: 1 to 4 sort columns 0 to 3 ascending and
// -1 to -4 descending; 0, 5, -5 and every other value sort by the caption descending (newest
// first). Keys compare as unsigned bytes, a prefix before the longer text. Returns negative,
// 0 or positive as A goes before, with or after B.
int CompareRows(const ListRow& a, const ListRow& b, int sortType);

// The sort type a click on column `column` (0-3) gives, or nothing when the list holds fewer
// than two rows (then nothing changes): ascending when the first row's text of that column
// comes after the last row's, descending otherwise, equal texts included.
std::optional<int> SortTypeAfterColumnClick(const std::vector<ListRow>& rows, int column);

}  // namespace seaherald
