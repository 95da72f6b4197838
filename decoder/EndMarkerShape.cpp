#include "decoder/EndMarkerShape.h"

#include <algorithm>

#include "decoder/MessageMarkers.h"

namespace seaherald {
namespace {

constexpr std::size_t kMarkerLetters = 4;

}  // namespace

std::optional<EndMarkerRepair> RepairEndMarker(std::string_view line, const UnsureBytes& unsure,
                                               bool english) {
  const std::string_view marker = english ? EndMarkerSingle : EndMarkerFull;
  const std::size_t width = marker.size() / kMarkerLetters;
  const std::string_view letter = marker.substr(0, width);
  if (line.size() % width != 0 || unsure.size() != line.size() || line == marker)
    return std::nullopt;
  const std::size_t characters = line.size() / width;
  if (characters != kMarkerLetters - 1 && characters != kMarkerLetters) return std::nullopt;
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
  if (others > allowed || !othersUnsure) return std::nullopt;
  std::string text;
  for (std::size_t i = from; i < kMarkerLetters; ++i)
    text += letter;
  return EndMarkerRepair{(characters - from) * width, text};
}

}  // namespace seaherald
