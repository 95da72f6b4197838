#include "msglog/LogTreeLayout.h"

#include "platform/CodePage.h"

namespace seaherald {

LogTreeLayout::LogTreeLayout(const AreaStations* area) {
  if (area == nullptr || !area->Chosen()) return;
  areaChosen_ = true;
  // Stations come in letter order; far-apart ones sharing a letter share its node.
  for (const NavtexStation& station : area->Stations()) {
    if (letters_.find(station.letter) != std::string::npos) continue;
    letters_ += station.letter;
    names_.push_back(area->NameOf(0, std::string(1, station.letter), 0));
  }
}

int LogTreeLayout::BaseCount(int lang) const {
  return ByArea(lang) ? static_cast<int>(letters_.size()) + 1 : kBaseCount;
}

int LogTreeLayout::NodeCount() const {
  return LangNodeIndex(kLangCount);
}

std::vector<int> LogTreeLayout::BaseCounts() const {
  std::vector<int> counts;
  for (int lang = 0; lang < kLangCount; ++lang)
    counts.push_back(BaseCount(lang));
  return counts;
}

int LogTreeLayout::LangNodeIndex(int lang) const {
  int index = 0;
  for (int before = 0; before < lang; ++before)
    index += 1 + BaseCount(before) * kNodesPerBase;
  return index;
}

int LogTreeLayout::BaseNodeIndex(int lang, int base) const {
  return LangNodeIndex(lang) + 1 + base * kNodesPerBase;
}

int LogTreeLayout::TypeNodeIndex(int lang, int base, int type) const {
  return BaseNodeIndex(lang, base) + 1 + type;
}

std::optional<TreeNodePosition> LogTreeLayout::NodeAt(int index) const {
  if (index < 0) return std::nullopt;
  for (int lang = 0; lang < kLangCount; ++lang) {
    const int within = index - LangNodeIndex(lang);
    if (within >= 1 + BaseCount(lang) * kNodesPerBase) continue;
    TreeNodePosition position;
    position.lang = lang;
    if (within == 0) return position;
    position.base = (within - 1) / kNodesPerBase;
    const int withinBase = (within - 1) % kNodesPerBase;
    if (withinBase > 0) position.type = withinBase - 1;
    return position;
  }
  return std::nullopt;
}

bool LogTreeLayout::IsTypeLeaf(int lang, int base, int type) const {
  return lang >= 0 && lang < kLangCount && base >= 0 && base < BaseCount(lang) && type >= 0 &&
         type < kTypeCount;
}

int LogTreeLayout::BaseOfLetter(int lang, std::string_view b1) const {
  if (!ByArea(lang)) return Catalogue::BaseOfLetter(lang, b1);
  const std::size_t at = b1.size() == 1 ? letters_.find(b1[0]) : std::string::npos;
  return at == std::string::npos ? OtherBase(lang) : static_cast<int>(at);
}

bool LogTreeLayout::BelongsTo(std::string_view name, int lang, int base, int type) const {
  if (!ByArea(lang)) return Catalogue::BelongsTo(name, lang, base, type);
  // The station decides here; the type is chosen as the catalogue's layout chooses it.
  if (Catalogue::LangOfFileName(name) != lang) return false;
  if (BaseOfLetter(lang, Catalogue::LetterB1(lang, name)) != base) return false;
  return Catalogue::TypeOfLetter(lang, Catalogue::LetterB2(lang, name)) == type;
}

std::string LogTreeLayout::BaseName(int lang, int base, int nameLang, const UiText& text) const {
  if (!ByArea(lang)) return ShownStationName(Catalogue::BaseName(nameLang, base), text);
  if (base == OtherBase(lang)) return text.Translate(Cp932Text("その他の局"));
  return Letter(lang, base) + "  " + names_[static_cast<std::size_t>(base)];
}

std::string LogTreeLayout::Letter(int lang, int base) const {
  if (base < 0 || base >= OtherBase(lang)) return {};
  if (!ByArea(lang)) return Catalogue::BaseLetter(lang, base);
  return std::string(1, letters_[static_cast<std::size_t>(base)]);
}

}  // namespace seaherald
