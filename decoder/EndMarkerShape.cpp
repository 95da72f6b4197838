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
  if (line.size() % width != 0 || unsure.size() != line.size()) return std::nullopt;
  // The marker read in figures (its letters shift lost) is the marker too.
  const auto isLetter = [&](std::string_view c) { return c == letter || (english && c == ","); };
  const std::size_t characters = line.size() / width;
  std::size_t odd = characters;
  int others = 0;
  for (std::size_t i = 0; i < characters; ++i) {
    if (isLetter(line.substr(i * width, width))) continue;
    odd = i;
    ++others;
  }
  if (characters == kMarkerLetters - 1 && others == 0) {
    std::string text;
    for (std::size_t i = 0; i < kMarkerLetters; ++i)
      text += letter;
    return EndMarkerRepair{line.size(), text};
  }
  if (characters != kMarkerLetters || others > 1) return std::nullopt;
  if (others == 1) {
    const auto begin = unsure.begin() + static_cast<std::ptrdiff_t>(odd * width);
    if (std::all_of(begin, begin + static_cast<std::ptrdiff_t>(width),
                    [](Doubt d) { return d == Doubt::kSure; })) {
      return std::nullopt;
    }
  }
  if (line == marker) return std::nullopt;
  std::size_t from = std::min(odd, characters);
  // In figures every letter is put back, the first one wrong.
  for (std::size_t i = 0; i < characters && from == characters; ++i) {
    if (line.substr(i * width, width) != letter) from = i;
  }
  std::string text;
  for (std::size_t i = from; i < characters; ++i)
    text += letter;
  return EndMarkerRepair{(characters - from) * width, text};
}

}  // namespace seaherald
