#include "decoder/EndMarkerShape.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "decoder/JisToShiftJis.h"
#include "decoder/MessageMarkers.h"

namespace seaherald {
namespace {

constexpr std::size_t kMarkerLetters = 4;

// The JIS values of the full-width marker letter, and a value that may be anything.
constexpr int kLetterRow = 0x23;
constexpr int kLetterCell = 0x4E;
constexpr int kAnyValue = -1;
constexpr int kJisValues = 128;

// How many of the values `first` and `second` (either may be kAnyValue) the two-byte character was
// not made of.
int MissedValues(std::string_view character, int first, int second) {
  const auto madeOf = [character](int a, int b) {
    const std::array<std::uint8_t, 2> bytes = JisToShiftJis(a, b);
    return static_cast<std::uint8_t>(character[0]) == bytes[0] &&
           static_cast<std::uint8_t>(character[1]) == bytes[1];
  };
  bool firstFound = first == kAnyValue;
  bool secondFound = second == kAnyValue;
  for (int v = 0; v < kJisValues; ++v) {
    firstFound = firstFound || madeOf(first, v);
    secondFound = secondFound || madeOf(v, second);
  }
  if (firstFound && secondFound) {
    return first == kAnyValue || second == kAnyValue || madeOf(first, second) ? 0 : 1;
  }
  return (firstFound || secondFound) ? 1 : 2;
}

// The full-width marker paired one value late, its line end before it read as a value: each
// letter's cell value joins the next letter's row value, so the letters read as 0x4E23 characters
// after one ending in the row value and before one starting with the cell value. A letter lost
// counts as for the marker read in step, in values; the longer reading goes first, else its first
// character would be left in the text.
std::optional<EndMarkerRepair> RepairLateMarker(std::string_view line, const UnsureBytes& unsure) {
  constexpr std::size_t width = 2;
  if (line.size() % width != 0 || unsure.size() != line.size()) return std::nullopt;
  for (const std::size_t letters : {kMarkerLetters, kMarkerLetters - 1}) {
    const std::size_t characters = letters + 1;
    if (line.size() < characters * width) continue;
    const std::size_t from = line.size() - characters * width;
    int missed = 0;
    bool missedUnsure = true;
    for (std::size_t i = 0; i < characters; ++i) {
      const std::size_t at = from + i * width;
      const int m = MissedValues(line.substr(at, width), i == 0 ? kAnyValue : kLetterCell,
                                 i + 1 == characters ? kAnyValue : kLetterRow);
      if (m == 0) continue;
      missed += m;
      missedUnsure = unsure[at] != Doubt::kSure || unsure[at + 1] != Doubt::kSure;
    }
    const int allowed = letters == kMarkerLetters ? 1 : 0;
    if (missed <= allowed && missedUnsure) {
      return EndMarkerRepair{characters * width, std::string(EndMarkerFull), from};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<EndMarkerRepair> RepairEndMarker(std::string_view line, const UnsureBytes& unsure,
                                               bool english) {
  const std::string_view marker = english ? EndMarkerSingle : EndMarkerFull;
  const std::size_t width = marker.size() / kMarkerLetters;
  const std::string_view letter = marker.substr(0, width);
  if (line.size() % width != 0 || unsure.size() != line.size() || line == marker)
    return std::nullopt;
  const std::size_t characters = line.size() / width;
  if (characters != kMarkerLetters - 1 && characters != kMarkerLetters) {
    return english ? std::nullopt : RepairLateMarker(line, unsure);
  }
  // The marker read in figures (its letters shift lost) is the marker too; one other character,
  // read unsure, may stand among four.
  std::size_t from = characters;  // the first character that is not the letter itself
  int others = 0;
  bool othersUnsure = true;
  for (std::size_t i = 0; i < characters; ++i) {
    const std::string_view c = line.substr(i * width, width);
    if (c != letter) from = std::min(from, i);
    if (c == letter || (english && c == ",")) continue;
    ++others;
    othersUnsure = std::any_of(unsure.begin() + static_cast<std::ptrdiff_t>(i * width),
                               unsure.begin() + static_cast<std::ptrdiff_t>((i + 1) * width),
                               [](Doubt d) { return d != Doubt::kSure; });
  }
  const int allowed = characters == kMarkerLetters ? 1 : 0;
  if (others > allowed || !othersUnsure) {
    return english ? std::nullopt : RepairLateMarker(line, unsure);
  }
  std::string text;
  for (std::size_t i = from; i < kMarkerLetters; ++i)
    text += letter;
  return EndMarkerRepair{(characters - from) * width, text};
}

}  // namespace seaherald
