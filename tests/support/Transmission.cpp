#include "tests/support/Transmission.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <stdexcept>

#include "tests/support/EnglishCode.h"
#include "tests/support/JapaneseCode.h"

namespace seaherald::testsignal {
namespace {

using CharacterBits = std::vector<std::uint8_t>;

// A repeat trails its first copy by five character positions, two whole pairs and half a pair.
constexpr std::size_t RepeatDelayPairs = 2;

CharacterBits BitsOf(Language language, int value) {
  if (language == Language::English) {
    const auto bits = EnglishCodeBits(value);
    return {bits.begin(), bits.end()};
  }
  const auto bits = JapaneseCharacterBits(value);
  return {bits.begin(), bits.end()};
}

std::vector<CodedCharacter> Encode(const Transmission& transmission) {
  return transmission.language == Language::English ? EncodeEnglishText(transmission.text)
                                                    : EncodeJapaneseText(transmission.text);
}

std::size_t PairsFor(Language language, double seconds) {
  const double bitsPerPair = 2.0 * CharacterBitCount(language);
  return static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * 100.0 / bitsPerPair));
}

std::size_t CodeIndexOf(std::span<const CodedCharacter> coded, std::size_t textOffset) {
  const auto found = std::find_if(coded.begin(), coded.end(), [&](const CodedCharacter& c) {
    return c.textOffset == textOffset && !c.isShift;
  });
  if (found == coded.end()) throw std::invalid_argument("bit error names no character");
  return static_cast<std::size_t>(found - coded.begin());
}

void ApplyError(CharacterBits& bits, int bit) {
  if (bit < 0 || static_cast<std::size_t>(bit) >= bits.size()) {
    throw std::invalid_argument("bit error outside the character");
  }
  bits[static_cast<std::size_t>(bit)] ^= 1;
}

struct Copies {
  std::vector<CharacterBits> dx;
  std::vector<CharacterBits> rx;
};

Copies MakeCopies(const Transmission& transmission, std::span<const CodedCharacter> coded) {
  Copies copies;
  for (const CodedCharacter& c : coded)
    copies.dx.push_back(BitsOf(transmission.language, c.value));
  copies.rx = copies.dx;
  for (const BitError& error : transmission.bitErrors) {
    const std::size_t index = CodeIndexOf(coded, error.textOffset);
    if (error.copy != Copy::Rx) ApplyError(copies.dx[index], error.bit);
    if (error.copy != Copy::Dx) ApplyError(copies.rx[index], error.bit);
  }
  return copies;
}

std::size_t StopIndex(const Transmission& transmission, std::span<const CodedCharacter> coded) {
  if (!transmission.stopAtTextOffset) return coded.size();
  const auto found = std::find_if(coded.begin(), coded.end(), [&](const CodedCharacter& c) {
    return c.textOffset >= *transmission.stopAtTextOffset;
  });
  return static_cast<std::size_t>(found - coded.begin());
}

void Append(std::vector<std::uint8_t>& out, const CharacterBits& bits) {
  out.insert(out.end(), bits.begin(), bits.end());
}

}  // namespace

int CharacterBitCount(Language language) {
  return language == Language::English ? EnglishCharacterLength : JapaneseCharacterLength;
}

std::vector<std::uint8_t> TransmissionBits(const Transmission& transmission) {
  const Language language = transmission.language;
  const std::vector<CodedCharacter> coded = Encode(transmission);
  const Copies copies = MakeCopies(transmission, coded);
  const bool english = language == Language::English;
  const CharacterBits phasingDx = BitsOf(language, english ? EnglishPhasingDx : JapanesePhasingDx);
  const CharacterBits phasingRx = BitsOf(language, english ? EnglishPhasingRx : JapanesePhasingRx);

  const std::size_t count = coded.size();
  const std::size_t leading = PairsFor(language, transmission.phasingSeconds);
  const std::size_t stop = StopIndex(transmission, coded);
  const std::size_t pairsAfterStart =
      stop < count
          ? stop
          : count + RepeatDelayPairs + PairsFor(language, transmission.trailingPhasingSeconds);

  std::vector<std::uint8_t> bits;
  for (std::size_t pair = 0; pair < leading + pairsAfterStart; ++pair) {
    // Pair p of the text (p = pair - leading) carries character p in DX and the repeat of
    // character p - 2 in RX; phasing fills every position without a character.
    const bool inText = pair >= leading && pair - leading < count;
    Append(bits, inText ? copies.dx[pair - leading] : phasingDx);
    const bool repeatInText =
        pair >= leading + RepeatDelayPairs && pair - leading - RepeatDelayPairs < count;
    Append(bits, repeatInText ? copies.rx[pair - leading - RepeatDelayPairs] : phasingRx);
  }
  return bits;
}

}  // namespace seaherald::testsignal
