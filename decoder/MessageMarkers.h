#pragma once

#include <string_view>

namespace seaherald {

// The start and end markers of a message as the channel's line holds them (Shift-JIS bytes).
inline constexpr std::string_view StartMarkerSingle = "ZCZC ";
inline constexpr std::string_view StartMarkerFull =
    "\x82\x79\x82\x62\x82\x79\x82\x62\x81\x40";  // ＺＣＺＣ　
inline constexpr std::string_view EndMarkerSingle = "NNNN";
inline constexpr std::string_view EndMarkerFull = "\x82\x6d\x82\x6d\x82\x6d\x82\x6d";  // ＮＮＮＮ

}  // namespace seaherald
