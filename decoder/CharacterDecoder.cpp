#include "decoder/CharacterDecoder.h"

namespace seaherald {
namespace {

constexpr int EnglishWeight = 4;
constexpr int EnglishMask = (1 << BitRegister::EnglishBits) - 1;
constexpr int JapaneseMask = (1 << BitRegister::JapaneseBits) - 1;

// Phasing pairs: the newest character (an RX copy) and the one five positions earlier (DX).
constexpr int EnglishPhasingRx = CharacterFromReception("1111000");      // code 120
constexpr int EnglishPhasingDx = CharacterFromReception("0110011");      // code 51
constexpr int JapanesePhasingRx = CharacterFromReception("0010000110");  // data 4, check 6
constexpr int JapanesePhasingDx = CharacterFromReception("1001100100");  // data 25, check 4

}  // namespace

CharacterDecoder::CharacterDecoder(DecoderSettings settings, ReceptionIndicators& indicators,
                                   LineSink& sink)
    : settings_(settings),
      indicators_(indicators),
      ownText_(std::make_unique<OwnText>(sink)),
      line_(ownText_->line),
      codes_(ownText_->codes) {}

CharacterDecoder::CharacterDecoder(DecoderSettings settings, ReceptionIndicators& indicators,
                                   DecodedLine& line, CodeHandler& codes)
    : settings_(settings), indicators_(indicators), line_(line), codes_(codes) {}

void CharacterDecoder::DropSync() {
  if (charSync_) LoseSync(true);
}

void CharacterDecoder::TakeBit(std::uint8_t bit) {
  register_.Push(PolarityCorrected(bit != 0 ? 1 : 0));
  if (English()) {
    if (charSync_) {
      EnglishInSync();
    } else {
      EnglishSearching();
    }
  } else {
    if (charSync_) {
      JapaneseInSync();
    } else {
      JapaneseSearching();
    }
  }
  indicators_.CharSeenThisSecond = indicators_.CharSeenThisSecond || charSync_;
}

// English takes the bit as demodulated, Japanese its complement; DecInv inverts either.
std::uint8_t CharacterDecoder::PolarityCorrected(std::uint8_t bit) const {
  const bool flip = English() == settings_.DecInv;
  return static_cast<std::uint8_t>(flip ? 1 - bit : bit);
}

// The check of a pair comes every pairBits bits. A counter beyond the English limit is left after
// a change from Japanese to English mode in sync; it checks at once instead of never again.
bool CharacterDecoder::CheckDue(int pairBits) {
  if (pairBitCounter_ >= pairBits - 1) return true;
  ++pairBitCounter_;
  return false;
}

void CharacterDecoder::EnglishInSync() {
  indicators_.LedCount = 0;
  if (!CheckDue(EnglishPairBits)) return;
  const int rx = register_.EnglishCode(0);
  const int dx = register_.EnglishCode(CopyDistance);
  if (rx == dx) {
    indicators_.IdleSeconds = 0;
    if (OneBits(rx) != EnglishWeight) {
      LoseSync(false);
      return;
    }
    AcceptEnglish(rx);
  } else if (rx == EnglishPhasingRx && dx == EnglishPhasingDx) {
    pairBitCounter_ = 0;
    if (beginningPhasing_) line_.PhasingSeen();
  } else {
    LoseSync(true);
  }
}

void CharacterDecoder::EnglishSearching() {
  const int rx = register_.EnglishCode(0);
  const int dx = register_.EnglishCode(CopyDistance);
  if (rx == dx) {
    indicators_.IdleSeconds = 0;
    for (int position = 0; position < CopyDistance; ++position) {
      if (OneBits(register_.EnglishCode(position)) != EnglishWeight) return;
    }
    pairBitCounter_ = 0;
    charSync_ = true;
    AcceptEnglish(rx);
    return;
  }
  const int japaneseRx = register_.Character(BitRegister::JapaneseBits, 0);
  const int japaneseDx = register_.Character(BitRegister::JapaneseBits, CopyDistance);
  if (japaneseRx == (JapanesePhasingRx ^ JapaneseMask) &&
      japaneseDx == (JapanesePhasingDx ^ JapaneseMask)) {
    if (settings_.AutoSet) SwitchLanguage(false);
  } else if (japaneseRx == JapanesePhasingRx && japaneseDx == JapanesePhasingDx) {
    if (settings_.AutoSet) SwitchLanguage(false);
  } else if (rx == (EnglishPhasingRx ^ EnglishMask) && dx == (EnglishPhasingDx ^ EnglishMask)) {
    SyncOnPhasing(true);
  } else if (rx == EnglishPhasingRx && dx == EnglishPhasingDx) {
    SyncOnPhasing(false);
  }
}

void CharacterDecoder::AcceptEnglish(int code) {
  if (!codes_.HasEnglishEntry(code)) {
    LoseSync(false);
    return;
  }
  pairBitCounter_ = 0;
  beginningPhasing_ = false;
  codes_.HandleEnglishCode(code);
}

void CharacterDecoder::JapaneseInSync() {
  indicators_.LedCount = 0;
  indicators_.IdleSeconds = 0;
  if (!CheckDue(JapanesePairBits)) return;
  const int rx = register_.Character(BitRegister::JapaneseBits, 0);
  const int dx = register_.Character(BitRegister::JapaneseBits, CopyDistance);
  if (rx == dx) {
    if (register_.JapaneseValid(0)) {
      AcceptJapanese(register_.JapaneseData(0));
    } else {
      LoseSync(true);
    }
  } else if (rx == JapanesePhasingRx && dx == JapanesePhasingDx) {
    pairBitCounter_ = 0;
    codes_.ResetJisPair();
    if (beginningPhasing_) line_.PhasingSeen();
  } else {
    LoseSync(true);
  }
}

void CharacterDecoder::JapaneseSearching() {
  const int rx = register_.Character(BitRegister::JapaneseBits, 0);
  const int dx = register_.Character(BitRegister::JapaneseBits, CopyDistance);
  if (rx == dx) {
    if (register_.JapaneseValid(0)) {
      pairBitCounter_ = 0;
      charSync_ = true;
      codes_.ResetJisPair();
      AcceptJapanese(register_.JapaneseData(0));
    }
    return;
  }
  const int englishRx = register_.EnglishCode(0);
  const int englishDx = register_.EnglishCode(CopyDistance);
  if (englishRx == (EnglishPhasingRx ^ EnglishMask) &&
      englishDx == (EnglishPhasingDx ^ EnglishMask)) {
    if (settings_.AutoSet) SwitchLanguage(true);
  } else if (englishRx == EnglishPhasingRx && englishDx == EnglishPhasingDx) {
    if (settings_.AutoSet) SwitchLanguage(true);
  } else if (rx == (JapanesePhasingRx ^ JapaneseMask) && dx == (JapanesePhasingDx ^ JapaneseMask)) {
    SyncOnPhasing(true);
  } else if (rx == JapanesePhasingRx && dx == JapanesePhasingDx) {
    SyncOnPhasing(false);
  }
}

void CharacterDecoder::AcceptJapanese(int value) {
  beginningPhasing_ = false;
  codes_.HandleJapaneseCode(value);
  pairBitCounter_ = 0;
}

// Phasing of the current mode seen while searching. Complemented phasing means the polarity is
// wrong: the register is inverted so that the bits already taken in read right; only automatic
// mode also corrects the polarity of the bits to come.
void CharacterDecoder::SyncOnPhasing(bool complemented) {
  line_.ClearLine();
  if (complemented) {
    if (settings_.AutoSet) settings_.DecInv = !settings_.DecInv;
    register_.Invert();
  }
  charSync_ = true;
  pairBitCounter_ = 0;
  beginningPhasing_ = true;
}

void CharacterDecoder::SwitchLanguage(bool english) {
  settings_.DecLang = english;
  line_.ClearLine();
}

// A waiting half of a JIS pair is dropped in either mode, so that a later Japanese sync cannot
// join it to a character received long after.
void CharacterDecoder::LoseSync(bool cut) {
  charSync_ = false;
  beginningPhasing_ = false;
  codes_.ResetJisPair();
  line_.EndLine(cut);
}

}  // namespace seaherald
