#include "app/SettingsFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <system_error>
#include <type_traits>
#include <variant>

#include "app/UiLanguage.h"
#include "platform/CodePage.h"

namespace seaherald {

namespace {

// Colours have their own field type, so the table can tell them from plain integers.
using SettingsField = std::variant<int Settings::*, bool Settings::*, std::string Settings::*,
                                   std::uint32_t Settings::*>;

struct SettingsKey {
  std::string_view section;
  std::string_view key;
  SettingsField field;
};

// Reading and writing both follow this order; a file written from nothing lists the sections and
// keys exactly so.
const std::array<SettingsKey, 32> SettingsKeys = {{
    {"Form", "MainTop", &Settings::MainTop},
    {"Form", "MainLeft", &Settings::MainLeft},
    {"Form", "MainWidth", &Settings::MainWidth},
    {"Form", "MainHeight", &Settings::MainHeight},
    {"Form", "MainMaxmum", &Settings::MainMaxmum},
    {"Wave", "WaveInName", &Settings::WaveInName},
    {"Wave", "WaveInId", &Settings::WaveInId},
    {"Wave", "CentF", &Settings::CentF},
    {"Disp", "ColorNum", &Settings::ColorNum},
    {"Disp", "ViewLangNum", &Settings::ViewLangNum},
    {"Disp", "ViewBaseNum", &Settings::ViewBaseNum},
    {"Disp", "ViewTypeNum", &Settings::ViewTypeNum},
    {"Set", "AutoSet", &Settings::AutoSet},
    {"Set", "DecLang", &Settings::DecLang},
    {"Set", "DecInv", &Settings::DecInv},
    {"Set", "DeleteDay", &Settings::DeleteDay},
    {"Set", "AutoLogDelete", &Settings::AutoLogDelete},
    {"Set", "TimeOut", &Settings::TimeOut},
    {"Set", "ErrNum", &Settings::ErrNum},
    {"Set", "ErrSave", &Settings::ErrSave},
    {"Set", "ColumnsWidth0", &Settings::ColumnsWidth0},
    {"Set", "ColumnsWidth1", &Settings::ColumnsWidth1},
    {"Set", "ColumnsWidth2", &Settings::ColumnsWidth2},
    {"Set", "ColumnsWidth3", &Settings::ColumnsWidth3},
    {"Set", "PanelWidth", &Settings::PanelWidth},
    {"Set", "PanelHeight", &Settings::PanelHeight},
    {"Set", "FontSize", &Settings::FontSize},
    {"Set", "FontName", &Settings::FontName},
    {"Set", "FontColor", &Settings::FontColor},
    {"Set", "BackColor", &Settings::BackColor},
    {"Set", "SortType", &Settings::SortType},
    {"Set", "DecSens", &Settings::DecSens},
}};

// The watch keys; the section is written only when it differs from the defaults or is there.
constexpr std::string_view WatchSection = "Watch";
const std::array<SettingsKey, 5> WatchKeys = {{
    {WatchSection, "NavArea", &Settings::NavArea},
    {WatchSection, "NavFreq", &Settings::NavFreq},
    {WatchSection, "Stations", &Settings::Stations},
    {WatchSection, "Types", &Settings::Types},
    {WatchSection, "AlarmTypes", &Settings::AlarmTypes},
}};

// The second receiver's keys, beside the first receiver's; written as the watch keys are.
const std::array<SettingsKey, 6> SecondReceiverKeys = {{
    {"Wave", "CentF2", &Settings::CentF2},
    {"Set", "Receiver2", &Settings::Receiver2},
    {"Set", "AutoSet2", &Settings::AutoSet2},
    {"Set", "DecLang2", &Settings::DecLang2},
    {"Set", "DecInv2", &Settings::DecInv2},
    {"Set", "DecSens2", &Settings::DecSens2},
}};

// The second receiver's frequency, beside the first's; its own group so that a file using the watch
// or the second receiver before it existed is written back as it was.
const std::array<SettingsKey, 1> SecondWatchKeys = {{
    {WatchSection, "NavFreq2", &Settings::NavFreq2},
}};

// "に書き込めません"
constexpr std::string_view CannotWriteSuffix =
    " \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1";

std::optional<int> HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

std::optional<int> DecimalDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return std::nullopt;
}

// Digits in the given base, stopping as soon as the magnitude leaves the 32-bit range so that
// thousands of digits cannot overflow.
std::optional<std::int64_t> ParseMagnitude(std::string_view digits, int base) {
  constexpr std::int64_t Largest = std::int64_t{std::numeric_limits<int>::max()} + 1;
  if (digits.empty()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (const char c : digits) {
    const std::optional<int> digit = base == 16 ? HexDigitValue(c) : DecimalDigitValue(c);
    if (!digit) return std::nullopt;
    magnitude = magnitude * base + *digit;
    if (magnitude > Largest) return std::nullopt;
  }
  return magnitude;
}

std::string TextForValue(std::string_view text) {
  std::string value(text.substr(0, text.find('\0')));
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  // Reading strips surrounding blanks and one pair of quotes, so such values are quoted to come
  // back unchanged (a device name ending in a blank must still find its device).
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool blankAtEnd = !value.empty() && (blank(value.front()) || blank(value.back()));
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (blankAtEnd || quoted) value = '"' + value + '"';
  return value;
}

void ReadKey(const ProfileDocument& document, const SettingsKey& key, Settings& settings) {
  const std::optional<std::string> text = document.Get(key.section, key.key);
  if (!text) return;
  std::visit(
      [&](auto member) {
        using Field = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<Field, std::string>) {
          settings.*member = *text;
        } else if constexpr (std::is_same_v<Field, std::uint32_t>) {
          if (const auto color = HexToColor(*text)) settings.*member = *color;
        } else if (const std::optional<int> number = ParseSettingsInteger(*text)) {
          if constexpr (std::is_same_v<Field, bool>) {
            settings.*member = *number != 0;
          } else {
            settings.*member = *number;
          }
        }
      },
      key.field);
}

std::string WrittenValue(const SettingsKey& key, const Settings& settings) {
  return std::visit(
      [&](auto member) -> std::string {
        using Field = std::remove_cvref_t<decltype(settings.*member)>;
        if constexpr (std::is_same_v<Field, std::string>) {
          return TextForValue(settings.*member);
        } else if constexpr (std::is_same_v<Field, std::uint32_t>) {
          return ColorToHex(settings.*member);
        } else if constexpr (std::is_same_v<Field, bool>) {
          return settings.*member ? "1" : "0";
        } else {
          return std::to_string(settings.*member);
        }
      },
      key.field);
}

// A group of keys is written once any of them differs from its default or is in the file already,
// and from then on for good. False when a value cannot be written.
template <std::size_t Count>
bool WriteOnceUsed(const std::array<SettingsKey, Count>& keys, const Settings& settings,
                   ProfileDocument& document) {
  const Settings defaults;
  bool used = false;
  for (const SettingsKey& key : keys) {
    used = used || WrittenValue(key, settings) != WrittenValue(key, defaults) ||
           document.Get(key.section, key.key).has_value();
  }
  for (const SettingsKey& key : keys) {
    if (used && !document.Set(key.section, key.key, WrittenValue(key, settings))) return false;
  }
  return true;
}

}  // namespace

Settings LoadSettings(const std::filesystem::path& path) noexcept {
  try {
    const ProfileLoadResult loaded = LoadProfile(path);
    Settings settings;
    for (const SettingsKey& key : SettingsKeys)
      ReadKey(loaded.document, key, settings);
    for (const SettingsKey& key : WatchKeys)
      ReadKey(loaded.document, key, settings);
    for (const SettingsKey& key : SecondReceiverKeys)
      ReadKey(loaded.document, key, settings);
    for (const SettingsKey& key : SecondWatchKeys)
      ReadKey(loaded.document, key, settings);
    // Read only: the file keeps whatever the user wrote there.
    settings.Language =
        loaded.document.Get(UiLanguageSection, UiLanguageKey).value_or(std::string());
    return settings;
  } catch (...) {  // only memory exhaustion can get here; the defaults need none
    return Settings{};
  }
}

ProfileWriteResult SaveSettings(const std::filesystem::path& path, const Settings& settings) {
  ProfileLoadResult loaded = LoadProfile(path);
  if (loaded.exists && !loaded.readable) return {ProfileWriteStep::ReadExisting, 0};
  for (const SettingsKey& key : SettingsKeys) {
    if (!loaded.document.Set(key.section, key.key, WrittenValue(key, settings))) {
      return {ProfileWriteStep::InvalidText, 0};
    }
  }
  if (!WriteOnceUsed(WatchKeys, settings, loaded.document) ||
      !WriteOnceUsed(SecondReceiverKeys, settings, loaded.document) ||
      !WriteOnceUsed(SecondWatchKeys, settings, loaded.document)) {
    return {ProfileWriteStep::InvalidText, 0};
  }
  return SaveProfile(path, loaded.document);
}

std::optional<int> ParseSettingsInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  }
  const std::optional<std::int64_t> magnitude = ParseMagnitude(text, base);
  if (!magnitude) return std::nullopt;
  const std::int64_t value = negative ? -*magnitude : *magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

std::string ColorToHex(std::uint32_t color) {
  constexpr std::string_view Digits = "0123456789ABCDEF";
  std::string text(6, '0');
  for (int index = 5; index >= 0; --index) {
    text[static_cast<std::size_t>(index)] = Digits[color & 0xF];
    color >>= 4;
  }
  return text;
}

std::optional<std::uint32_t> HexToColor(std::string_view text) {
  if (text.size() < 6) return std::nullopt;
  std::uint32_t color = 0;
  for (const char c : text.substr(0, 6)) {
    const std::optional<int> digit = HexDigitValue(c);
    if (!digit) return std::nullopt;
    color = color * 16 + static_cast<std::uint32_t>(*digit);
  }
  return color;
}

void RaiseStartupMinimums(Settings& settings) {
  settings.DeleteDay = std::max(settings.DeleteDay, 1);
  settings.TimeOut = std::max(settings.TimeOut, 1);
  settings.ErrNum = std::max(settings.ErrNum, 1);
}

void RecordWindowGeometry(Settings& settings, bool maximised, const WindowGeometry& current) {
  settings.MainMaxmum = maximised;
  if (maximised) return;
  settings.MainTop = current.top;
  settings.MainLeft = current.left;
  settings.MainWidth = current.width;
  settings.MainHeight = current.height;
}

std::filesystem::path SettingsPathFor(const std::filesystem::path& executable) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(executable, error);
  if (error) path = executable;
  return path.replace_extension(".ini");
}

std::filesystem::path LogFolderFor(const std::filesystem::path& executable) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(executable, error);
  if (error) path = executable;
  return path.parent_path() / "log";
}

std::string CannotWriteMessage(std::string_view pathShiftJis) {
  std::string message(pathShiftJis);
  message += CannotWriteSuffix;
  return message;
}

std::string CannotWriteMessageFor(const std::filesystem::path& path) {
  return CannotWriteMessage(CodePageConverter().Cp932FromUtf8Lossy(path.string()));
}

}  // namespace seaherald
