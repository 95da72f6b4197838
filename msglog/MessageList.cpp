#include "msglog/MessageList.h"

#include <string_view>

namespace seaherald {
namespace {

const std::string kNoText;

// Byte order with bytes taken as unsigned: char_traits<char> compares as unsigned char.
int CompareBytes(std::string_view a, std::string_view b) {
  const int result = a.compare(b);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

}  // namespace

const std::string& ListRow::ColumnText(int column) const {
  if (column == kColumnReceived) return caption;
  const int subItem = column - 1;
  if (subItem < 0 || subItem >= static_cast<int>(subItems.size())) return kNoText;
  return subItems[static_cast<std::size_t>(subItem)];
}

int CompareRows(const ListRow& a, const ListRow& b, int sortType) {
  const bool known = sortType >= -kColumnCount && sortType <= kColumnCount && sortType != 0;
  if (!known) return -CompareBytes(a.caption, b.caption);
  const int column = (sortType > 0 ? sortType : -sortType) - 1;
  const int ascending = CompareBytes(a.ColumnText(column), b.ColumnText(column));
  return sortType > 0 ? ascending : -ascending;
}

std::optional<int> SortTypeAfterColumnClick(const std::vector<ListRow>& rows, int column) {
  if (rows.size() < 2 || column < 0 || column >= kColumnCount) return std::nullopt;
  const bool firstAfterLast =
      CompareBytes(rows.front().ColumnText(column), rows.back().ColumnText(column)) > 0;
  return firstAfterLast ? column + 1 : -(column + 1);
}

}  // namespace seaherald
