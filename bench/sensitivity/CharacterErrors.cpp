#include "bench/sensitivity/CharacterErrors.h"

#include <algorithm>
#include <numeric>

#include "msglog/LogFileFormat.h"

namespace seaherald::sensitivity {

CharacterSequence CharactersOfLines(const std::vector<std::string>& lines) {
  CharacterSequence characters;
  for (const std::string& line : lines) {
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t length = ShiftJisCharLength(line, at);
      std::uint16_t code = static_cast<unsigned char>(line[at]);
      if (length == 2)
        code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(line[at + 1]));
      characters.push_back(code);
      at += length;
    }
    characters.push_back(LineEndCharacter);
  }
  return characters;
}

std::vector<std::string> SplitCrLfLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > start) lines.emplace_back(text.substr(start, stop - start));
    start = stop == text.size() ? stop : stop + 2;
  }
  return lines;
}

std::size_t EditDistance(const CharacterSequence& sent, const CharacterSequence& received) {
  // Two rows of the usual table: row[j] is the distance between the sent prefix so far and the
  // first j received characters.
  std::vector<std::size_t> previous(received.size() + 1);
  std::iota(previous.begin(), previous.end(), std::size_t{0});
  std::vector<std::size_t> current(received.size() + 1);
  for (std::size_t i = 1; i <= sent.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= received.size(); ++j) {
      const std::size_t replace = previous[j - 1] + (sent[i - 1] == received[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
    }
    std::swap(previous, current);
  }
  return previous[received.size()];
}

double CharacterErrors::Rate() const {
  return sentCharacters == 0 ? 0.0
                             : static_cast<double>(errors) / static_cast<double>(sentCharacters);
}

CharacterErrors CompareLines(const std::vector<std::string>& sent,
                             const std::vector<std::string>& received) {
  const CharacterSequence sentCharacters = CharactersOfLines(sent);
  return {sentCharacters.size(), EditDistance(sentCharacters, CharactersOfLines(received))};
}

}  // namespace seaherald::sensitivity
