#include "fuzz/seeds/BroadcastBits.h"

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "decoder/CodeTables.h"
#include "decoder/JisToShiftJis.h"

namespace seaherald::fuzz {
namespace {

constexpr int kTrailingPairs = 3;
constexpr int kEnglishPhasingDx = PhasingCode2;
constexpr int kEnglishPhasingRx = PhasingCode1;
constexpr int kJapanesePhasingDx = 25;
constexpr int kJapanesePhasingRx = 4;
constexpr int kJapaneseCarriageReturn = 13;
constexpr int kJapaneseLineFeed = 10;
constexpr int kFirstJis = 33;
constexpr int kLastJis = 126;

// English codes of a text, with the shift codes it needs.
std::vector<int> EnglishCodes(std::string_view text) {
  std::vector<int> codes;
  Shift shift = Shift::Letters;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      codes.push_back(c == '\r' ? CarriageReturnCode : LineFeedCode);
      continue;
    }
    const std::string wanted(1, c);
    int found = -1;
    Shift needed = shift;
    for (const Shift candidate :
         {shift, shift == Shift::Letters ? Shift::Figures : Shift::Letters}) {
      for (int code = 0; code < EnglishCodeCount && found < 0; ++code) {
        if (EnglishEntry(candidate, code) == wanted) {
          found = code;
          needed = candidate;
        }
      }
      if (found >= 0) break;
    }
    if (found < 0) throw std::invalid_argument("no English code for '" + wanted + "'");
    if (needed != shift) {
      codes.push_back(needed == Shift::Letters ? LettersShiftCode : FiguresShiftCode);
      shift = needed;
    }
    codes.push_back(found);
  }
  return codes;
}

// Japanese values of a Shift-JIS text: a JIS pair per two-byte character.
std::vector<int> JapaneseValues(std::string_view text) {
  std::map<std::pair<unsigned char, unsigned char>, std::pair<int, int>> jisOf;
  for (int first = kFirstJis; first <= kLastJis; ++first) {
    for (int second = kFirstJis; second <= kLastJis; ++second) {
      const auto bytes = JisToShiftJis(first, second);
      jisOf[{bytes[0], bytes[1]}] = {first, second};
    }
  }
  std::vector<int> values;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      values.push_back(text[i] == '\r' ? kJapaneseCarriageReturn : kJapaneseLineFeed);
      continue;
    }
    const auto found = i + 1 < text.size() ? jisOf.find({static_cast<unsigned char>(text[i]),
                                                         static_cast<unsigned char>(text[i + 1])})
                                           : jisOf.end();
    if (found == jisOf.end()) throw std::invalid_argument("not a JIS X 0208 character");
    values.push_back(found->second.first);
    values.push_back(found->second.second);
    ++i;
  }
  return values;
}

// English: seven bits, the most significant first.
void AppendEnglish(std::vector<std::uint8_t>& bits, int code) {
  for (int bit = 6; bit >= 0; --bit)
    bits.push_back(static_cast<std::uint8_t>((code >> bit) & 1));
}

// Japanese: seven data bits, the least significant first, then the count of zero data bits in
// three bits, the most significant first; the decoder takes the complement of what it receives.
void AppendJapanese(std::vector<std::uint8_t>& bits, int value) {
  int zeros = 0;
  for (int bit = 0; bit < 7; ++bit) {
    const int one = (value >> bit) & 1;
    zeros += 1 - one;
    bits.push_back(static_cast<std::uint8_t>(1 - one));
  }
  for (int bit = 2; bit >= 0; --bit)
    bits.push_back(static_cast<std::uint8_t>(1 - ((zeros >> bit) & 1)));
}

}  // namespace

std::vector<std::uint8_t> BroadcastBits(Service service, std::string_view text, int phasingPairs) {
  const bool english = service == Service::English;
  const std::vector<int> characters = english ? EnglishCodes(text) : JapaneseValues(text);
  const int phasingDx = english ? kEnglishPhasingDx : kJapanesePhasingDx;
  const int phasingRx = english ? kEnglishPhasingRx : kJapanesePhasingRx;
  const int count = static_cast<int>(characters.size());
  // The DX position of pair k carries character k - phasingPairs; the RX position repeats the
  // DX character of pair k - 2, five character positions earlier.
  const auto dxOf = [&](int pair) {
    const int index = pair - phasingPairs;
    return index >= 0 && index < count ? characters[static_cast<std::size_t>(index)] : -1;
  };
  std::vector<std::uint8_t> bits;
  for (int pair = 0; pair < phasingPairs + count + kTrailingPairs; ++pair) {
    const int dx = dxOf(pair);
    const int rx = dxOf(pair - 2);
    for (const int character : {dx < 0 ? phasingDx : dx, rx < 0 ? phasingRx : rx}) {
      if (english) {
        AppendEnglish(bits, character);
      } else {
        AppendJapanese(bits, character);
      }
    }
  }
  return bits;
}

}  // namespace seaherald::fuzz
