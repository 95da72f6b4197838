#include "msglog/Catalogue.h"

#include <array>
#include <cassert>

#include "msglog/UiText.h"
#include "platform/CodePage.h"

namespace seaherald {
namespace {

using Row6 = std::array<const char*, kBaseCount>;
using Row14 = std::array<const char*, kTypeCount>;

// Literals are UTF-8 here and become Shift-JIS once, when the tables are first used.
constexpr std::array<const char*, kLangCount> kLangNames = {"英文", "和文"};
constexpr std::array<Row6, kLangCount> kBaseLetters = {Row6{"G", "H", "I", "J", "K", "X"},
                                                       Row6{"Ｇ", "Ｈ", "Ｉ", "Ｊ", "Ｋ", "Ｘ"}};
constexpr std::array<Row6, kLangCount> kBaseNames = {
    Row6{"Naha", "Moji", "Yokohama", "Otaru", "Kushiro", "Another"},
    Row6{"那覇", "門司", "横浜", "小樽", "釧路", "その他"}};
constexpr std::array<Row14, kLangCount> kTypeLetters = {
    Row14{"A", "B", "C", "D", "E", "F", "G", "H", "J", "K", "L", "X", "Y", " "},
    Row14{"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｊ", "Ｋ", "Ｌ", "Ｘ", "Ｙ", "　"}};
constexpr std::array<Row14, kLangCount> kTypeNames = {
    Row14{"Navigational warnings", "Meteorological warnings", "Ice reports",
          "Search & rescue information, and pirate warnings", "Meteorological forecasts",
          "Pilot service messages", "AIS messages", "LORAN messages", "SATNAV messages",
          "Other electronic navaid messages", "Navigational warnings (additional)",
          "Special services 1", "Special services 2", "Other"},
    Row14{"航行警報", "気象警報", "海氷情報", "捜索救難情報／海賊警報", "気象予報",
          "水先案内人情報", "ＡＩＳ情報", "ロラン情報", "衛星ナビ情報", "その他の情報",
          "航行警報（追加事項）", "特別情報１", "特別情報２", "その他"}};

template <std::size_t N>
std::array<std::string, N> ToShiftJis(const std::array<const char*, N>& utf8) {
  std::array<std::string, N> sjis;
  for (std::size_t i = 0; i < N; ++i)
    sjis[i] = Cp932Text(utf8[i]);
  return sjis;
}

template <std::size_t N>
std::array<std::array<std::string, N>, kLangCount> ToShiftJis(
    const std::array<std::array<const char*, N>, kLangCount>& utf8) {
  return {ToShiftJis(utf8[0]), ToShiftJis(utf8[1])};
}

struct Tables {
  std::array<std::string, kLangCount> langName = ToShiftJis(kLangNames);
  std::array<std::array<std::string, kBaseCount>, kLangCount> baseLetter = ToShiftJis(kBaseLetters);
  std::array<std::array<std::string, kBaseCount>, kLangCount> baseName = ToShiftJis(kBaseNames);
  std::array<std::array<std::string, kTypeCount>, kLangCount> typeLetter = ToShiftJis(kTypeLetters);
  std::array<std::array<std::string, kTypeCount>, kLangCount> typeName = ToShiftJis(kTypeNames);
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

[[maybe_unused]] bool ValidLang(int lang) {
  return lang >= 0 && lang < kLangCount;
}
[[maybe_unused]] bool ValidBase(int base) {
  return base >= 0 && base < kBaseCount;
}
[[maybe_unused]] bool ValidType(int type) {
  return type >= 0 && type < kTypeCount;
}

std::string_view Bytes(std::string_view text, std::size_t first, std::size_t count) {
  if (first >= text.size()) return {};
  return text.substr(first, count);
}

}  // namespace

const std::string& Catalogue::LangName(int lang) {
  assert(ValidLang(lang));
  return TheTables().langName[lang];
}

const std::string& Catalogue::BaseLetter(int lang, int base) {
  assert(ValidLang(lang) && ValidBase(base));
  return TheTables().baseLetter[lang][base];
}

const std::string& Catalogue::BaseName(int lang, int base) {
  assert(ValidLang(lang) && ValidBase(base));
  return TheTables().baseName[lang][base];
}

const std::string& Catalogue::TypeLetter(int lang, int type) {
  assert(ValidLang(lang) && ValidType(type));
  return TheTables().typeLetter[lang][type];
}

const std::string& Catalogue::TypeName(int lang, int type) {
  assert(ValidLang(lang) && ValidType(type));
  return TheTables().typeName[lang][type];
}

int Catalogue::BaseOfLetter(int lang, std::string_view letter) {
  for (int base = 0; base < kOtherBase; ++base) {
    if (BaseLetter(lang, base) == letter) return base;
  }
  return kOtherBase;
}

int Catalogue::TypeOfLetter(int lang, std::string_view letter) {
  for (int type = 0; type < kOtherType; ++type) {
    if (TypeLetter(lang, type) == letter) return type;
  }
  return kOtherType;
}

int Catalogue::LangOfFileName(std::string_view name) {
  return !name.empty() && static_cast<unsigned char>(name.front()) >= 0x80 ? 1 : 0;
}

std::string_view Catalogue::LetterB1(int lang, std::string_view text) {
  return lang == 0 ? Bytes(text, 0, 1) : Bytes(text, 0, 2);
}

std::string_view Catalogue::LetterB2(int lang, std::string_view text) {
  return lang == 0 ? Bytes(text, 1, 1) : Bytes(text, 2, 2);
}

bool Catalogue::BelongsTo(std::string_view name, int lang, int base, int type) {
  if (LangOfFileName(name) != lang) return false;
  const std::string_view b1 = LetterB1(lang, name);
  const std::string_view b2 = LetterB2(lang, name);
  const bool typeMatches =
      type == kOtherType ? TypeOfLetter(lang, b2) == kOtherType : b2 == TypeLetter(lang, type);
  const bool baseMatches =
      base == kOtherBase ? BaseOfLetter(lang, b1) == kOtherBase : b1 == BaseLetter(lang, base);
  return typeMatches && baseMatches;
}

std::optional<TreeNodePosition> Catalogue::TreeNodeAt(int index) {
  if (index < 0 || index >= kTreeNodeCount) return std::nullopt;
  TreeNodePosition position;
  position.lang = index / kNodesPerLang;
  const int withinLang = index % kNodesPerLang;
  if (withinLang == 0) return position;
  position.base = (withinLang - 1) / kNodesPerBase;
  const int withinBase = (withinLang - 1) % kNodesPerBase;
  if (withinBase > 0) position.type = withinBase - 1;
  return position;
}

std::string ShownStationName(std::string name, const UiText& text) {
  if (text.NameLang() == 0 && name == Catalogue::BaseName(0, kOtherBase))
    return text.Translate(Cp932Text("その他の局"));
  return name;
}

}  // namespace seaherald
