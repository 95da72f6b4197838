#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "msglog/AreaStations.h"
#include "msglog/Catalogue.h"
#include "msglog/UiText.h"

namespace seaherald {

// Which station nodes the log tree has under each language, and so where every node stands.
// Without a chosen area both languages have the catalogue's six stations (182 nodes, the
// catalogue's indexes). With one, the English service's stations are the area's B1 letters in
// letter order, each its own node, followed by one node for every letter the area does not use;
// the Japanese-language service keeps the catalogue's stations. Every station node has the
// catalogue's fourteen type leaves.
class LogTreeLayout {
 public:
  LogTreeLayout() = default;
  explicit LogTreeLayout(const AreaStations* area);

  // Station nodes under language `lang`; the last of them takes every other letter.
  int BaseCount(int lang) const;
  int OtherBase(int lang) const { return BaseCount(lang) - 1; }
  int NodeCount() const;
  // Station nodes per language, in language order.
  std::vector<int> BaseCounts() const;

  // Depth-first indexes, as Catalogue's for the catalogue's layout.
  int LangNodeIndex(int lang) const;
  int BaseNodeIndex(int lang, int base) const;
  int TypeNodeIndex(int lang, int base, int type) const;
  // The node at a depth-first index; nothing outside the tree.
  std::optional<TreeNodePosition> NodeAt(int index) const;
  bool IsTypeLeaf(int lang, int base, int type) const;

  // The station node of header letter `b1`.
  int BaseOfLetter(int lang, std::string_view b1) const;
  // Whether a log file name is listed under a type leaf (as the tree counts it).
  bool BelongsTo(std::string_view name, int lang, int base, int type) const;
  // The station node's name without its count, catalogue names in `nameLang`: "G  Cullercoats"
  // for an area's station.
  std::string BaseName(int lang, int base, int nameLang, const UiText& text) const;
  // The B1 letter of a station node; empty for the node of every other letter.
  std::string Letter(int lang, int base) const;

  friend bool operator==(const LogTreeLayout&, const LogTreeLayout&) = default;

 private:
  bool ByArea(int lang) const { return areaChosen_ && lang == 0; }

  bool areaChosen_ = false;
  std::string letters_;             // the area's B1 letters, in order
  std::vector<std::string> names_;  // the area's name of each letter
};

}  // namespace seaherald
