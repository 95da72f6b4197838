#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace seaherald::sensitivity {

// Text as a sequence of characters for error counting: one entry per Shift-JIS character (a
// double-byte character is one entry) and one entry per line end.
using CharacterSequence = std::vector<std::uint16_t>;

inline constexpr std::uint16_t LineEndCharacter = '\n';

// The characters of `lines`, each line followed by one line end.
CharacterSequence CharactersOfLines(const std::vector<std::string>& lines);

// The non-empty lines of a text whose lines end in CR LF (a final line without one counts too).
std::vector<std::string> SplitCrLfLines(std::string_view text);

// Levenshtein distance: the fewest characters to insert, delete or replace to turn `sent` into
// `received`. A lost character counts one, a garbled one one, a spurious one one.
std::size_t EditDistance(const CharacterSequence& sent, const CharacterSequence& received);

// Errors of one received text against the text sent.
struct CharacterErrors {
  std::size_t sentCharacters = 0;
  std::size_t errors = 0;  // edit distance

  CharacterErrors& operator+=(const CharacterErrors& other) {
    sentCharacters += other.sentCharacters;
    errors += other.errors;
    return *this;
  }
  // errors / sentCharacters; 0 when nothing was sent.
  double Rate() const;
};

CharacterErrors CompareLines(const std::vector<std::string>& sent,
                             const std::vector<std::string>& received);

}  // namespace seaherald::sensitivity
