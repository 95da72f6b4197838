#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "platform/ProfileFile.h"

namespace seaherald {

// Reads every key of the settings file; a missing or unreadable file, section or key, and a value
// that does not parse, give that key's default. Never throws.
Settings LoadSettings(const std::filesystem::path& path) noexcept;

// Writes all keys, section by section in their fixed order, each updated in place so that lines
// the program does not know survive. The whole file is replaced at once: after a failure the file
// on disk is the old one, untouched. Line breaks in text values become blanks and a NUL ends them,
// since a value must stay on its line.
ProfileWriteResult SaveSettings(const std::filesystem::path& path, const Settings& settings);

// Integer text: decimal with an optional sign, or hexadecimal after "0x", "0X" or "$" (the sign, if
// any, comes first). Nothing for any other text and for values outside the 32-bit signed range.
std::optional<int> ParseSettingsInteger(std::string_view text);

// Colours are 0xBBGGRR numbers written as six upper-case hexadecimal digits.
std::string ColorToHex(std::uint32_t color);
// Reads the first six characters as three hexadecimal byte pairs (either letter case); anything
// after them is ignored. Nothing when there are fewer than six or one of them is not a digit.
std::optional<std::uint32_t> HexToColor(std::string_view text);

// At start-up these three are raised to 1 when below it; nothing else is limited.
void RaiseStartupMinimums(Settings& settings);

struct WindowGeometry {
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
};

// Puts the window's place into the record before saving: a maximised window keeps the normal-state
// geometry already recorded and stores the flag; otherwise its current geometry is stored.
void RecordWindowGeometry(Settings& settings, bool maximised, const WindowGeometry& current);

// The settings file is the executable's path with ".ini" as extension; the logs live in "log"
// beside the executable. A relative executable path is taken from the current folder.
std::filesystem::path SettingsPathFor(const std::filesystem::path& executable);
std::filesystem::path LogFolderFor(const std::filesystem::path& executable);

// "<path> に書き込めません" in Shift-JIS, for a path already converted to Shift-JIS.
std::string CannotWriteMessage(std::string_view pathShiftJis);
// The same for a file-system path (UTF-8 names); characters without a Shift-JIS form show as "?".
std::string CannotWriteMessageFor(const std::filesystem::path& path);

}  // namespace seaherald
