#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace seaherald {

// The program's Shift-JIS text at the toolkit boundary. Bytes that do not decode (a broken
// character at the front of trimmed text, say) show as replacement characters; characters that
// Shift-JIS cannot hold become "?".
QString ToQString(std::string_view sjis);
std::string ToSjis(const QString& text);

}  // namespace seaherald
