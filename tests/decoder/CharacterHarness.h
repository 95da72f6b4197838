#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "decoder/CharacterDecoder.h"
#include "decoder/DecoderSettings.h"
#include "decoder/ReceptionIndicators.h"
#include "tests/decoder/BitStreams.h"
#include "tests/decoder/RecordingSink.h"

namespace seaherald::test {

// A character decoder with its own settings, indicators and sink, fed bit by bit.
struct CharacterHarness {
  explicit CharacterHarness(bool english = true, bool inverted = false, bool automatic = false)
      : decLang(english), decInv(inverted), autoSet(automatic) {}

  void Feed(const Bits& bits) {
    for (std::uint8_t bit : bits)
      decoder.TakeBit(bit);
  }
  // Feeds bits and returns the index of the first bit after which sync held, or -1.
  int FeedUntilSync(const Bits& bits) {
    for (std::size_t i = 0; i < bits.size(); ++i) {
      decoder.TakeBit(bits[i]);
      if (decoder.CharSync()) return static_cast<int>(i);
    }
    return -1;
  }

  bool decLang;
  bool decInv;
  bool autoSet;
  double centerFrequency = 800;
  ReceptionIndicators indicators;
  RecordingSink sink;
  CharacterDecoder decoder{DecoderSettings{decLang, decInv, autoSet, centerFrequency}, indicators,
                           sink};
};

// A transmission as the decoder's input: logical characters interleaved with their copies after
// some phasing, turned into demodulated bits for the given mode and polarity.
inline Bits EnglishTransmission(const std::vector<int>& codes, int phasingPairs,
                                bool inverted = false) {
  return Demodulated(
      EnglishBits(Interleaved(codes, phasingPairs, EnglishPhasingDx, EnglishPhasingRx)), true,
      inverted);
}

inline Bits JapaneseTransmission(const std::vector<int>& values, int phasingPairs,
                                 bool inverted = false) {
  return Demodulated(
      JapaneseBits(Interleaved(values, phasingPairs, JapanesePhasingDx, JapanesePhasingRx)), false,
      inverted);
}

// Bit offsets of the first (DX) and second (RX) copy of text character i in such a transmission.
inline std::size_t FirstCopyBit(int phasingPairs, int i, int bitsPerCharacter) {
  return static_cast<std::size_t>(2 * (phasingPairs + i) * bitsPerCharacter);
}
inline std::size_t SecondCopyBit(int phasingPairs, int i, int bitsPerCharacter) {
  return static_cast<std::size_t>((2 * (phasingPairs + i + 2) + 1) * bitsPerCharacter);
}

}  // namespace seaherald::test
