#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace seaherald {

// Sizes of the catalogue and of the log tree built from it.
inline constexpr int kLangCount = 2;   // 0 English service, 1 Japanese-language service
inline constexpr int kBaseCount = 6;   // stations 0-4 by name, 5 every other station
inline constexpr int kTypeCount = 14;  // types 0-12 by letter, 13 every other type
inline constexpr int kOtherBase = 5;
inline constexpr int kOtherType = 13;
inline constexpr int kNodesPerBase = 1 + kTypeCount;                  // 15
inline constexpr int kNodesPerLang = 1 + kBaseCount * kNodesPerBase;  // 91
inline constexpr int kTreeNodeCount = kLangCount * kNodesPerLang;     // 182

// Where a node of the log tree stands. Upper levels leave the lower indexes at -1: a language
// node has base and type -1, a station node has type -1.
struct TreeNodePosition {
  int lang = -1;
  int base = -1;
  int type = -1;

  bool IsTypeLeaf() const { return type >= 0; }
  friend bool operator==(const TreeNodePosition&, const TreeNodePosition&) = default;
};

// The fixed vocabulary by which messages are filed, counted and named: language, station and
// message-type letters and names. Every text is Shift-JIS bytes; letters compare by exact byte
// equality, so a single-byte letter never equals its full-width form. Indexes out of range are
// a fault of the caller (checked by assertions only).
class Catalogue {
 public:
  // "英文" / "和文".
  static const std::string& LangName(int lang);
  // Header letter B1 of a station: "G".."K", "X" (English) or their full-width forms.
  static const std::string& BaseLetter(int lang, int base);
  // Station name, English for lang 0 and Japanese for lang 1.
  static const std::string& BaseName(int lang, int base);
  // Header letter B2 of a message type; type 13 is a space (English) or a full-width space.
  static const std::string& TypeLetter(int lang, int type);
  // Type name, English for lang 0 and Japanese for lang 1.
  static const std::string& TypeName(int lang, int type);

  // First of stations 0-4 whose letter equals `letter`; 5 when none does ("X" included).
  static int BaseOfLetter(int lang, std::string_view letter);
  // First of types 0-12 whose letter equals `letter`; 13 when none does (the space included).
  static int TypeOfLetter(int lang, std::string_view letter);
  // 1 when the first byte of a log file name is 0x80 or above (a Shift-JIS lead byte), else 0.
  static int LangOfFileName(std::string_view name);

  // Header letters of a header or log file name: B1 is byte 1 (English) or bytes 1-2
  // (Japanese), B2 byte 2 or bytes 3-4. A short text gives a shorter (possibly empty) letter.
  static std::string_view LetterB1(int lang, std::string_view text);
  static std::string_view LetterB2(int lang, std::string_view text);

  // Exact-letter selection shared by the message list and delete-all: B2 must be the type's
  // letter and B1 the station's letter, except that station 5 takes every B1 that is none of
  // stations 0-4, and type 13 takes every B2 that is none of types 0-12 (as the tree counts).
  static bool BelongsTo(std::string_view name, int lang, int base, int type);

  // Depth-first indexes of the 182 tree nodes: language, its six stations, under each its
  // fourteen types.
  static int LangNodeIndex(int lang) { return lang * kNodesPerLang; }
  static int BaseNodeIndex(int lang, int base) {
    return lang * kNodesPerLang + base * kNodesPerBase + 1;
  }
  static int TypeNodeIndex(int lang, int base, int type) {
    return lang * kNodesPerLang + base * kNodesPerBase + type + 2;
  }
  // The node at a depth-first index; nothing for an index outside 0-181.
  static std::optional<TreeNodePosition> TreeNodeAt(int index);
};

class UiText;

// A station name as the window shows it: the catalogue's "Another", which the outputs and the
// Japanese window keep, is "Other stations" in the English window, as its tree calls that group
// when an area is chosen.
std::string ShownStationName(std::string name, const UiText& text);

}  // namespace seaherald
