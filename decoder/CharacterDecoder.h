#pragma once

#include <cstdint>
#include <memory>

#include "decoder/BitRegister.h"
#include "decoder/CodeHandler.h"
#include "decoder/DecodedLine.h"
#include "decoder/DecoderSettings.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"

namespace seaherald {

// The error-correcting character decoder of one channel, driven bit by bit. Every character is
// sent twice, the copy five character positions after the first; a character is accepted only
// when both copies agree. English mode has 7-bit characters of weight four, Japanese mode 10-bit
// characters with a count of zero bits. Synchronisation comes from the phasing signals or from
// the data itself, and any disagreement ends it.
class CharacterDecoder {
 public:
  static constexpr int EnglishPairBits = 14;
  static constexpr int JapanesePairBits = 20;
  static constexpr int CopyDistance = 5;  // character positions between the two copies

  // With a line and code handling of its own.
  CharacterDecoder(DecoderSettings settings, ReceptionIndicators& indicators, LineSink& sink);
  // Writing to the channel's line and code handling, which another decoder may share.
  CharacterDecoder(DecoderSettings settings, ReceptionIndicators& indicators, DecodedLine& line,
                   CodeHandler& codes);
  CharacterDecoder(const CharacterDecoder&) = delete;
  CharacterDecoder& operator=(const CharacterDecoder&) = delete;

  // One demodulated bit: 1 when the tone was at or above the centre frequency.
  void TakeBit(std::uint8_t bit);
  // Ends sync as a failed check would (the path is being left).
  void DropSync();

  bool CharSync() const { return charSync_; }
  int PairBitCounter() const { return pairBitCounter_; }
  const BitRegister& Register() const { return register_; }
  const CodeHandler& Codes() const { return codes_; }
  const std::string& Line() const { return line_.Text(); }
  bool DecLang() const { return settings_.DecLang; }
  bool DecInv() const { return settings_.DecInv; }

 private:
  bool English() const { return settings_.DecLang; }
  std::uint8_t PolarityCorrected(std::uint8_t bit) const;
  // True when a character check is due now; otherwise counts the bit.
  bool CheckDue(int pairBits);

  void EnglishInSync();
  void EnglishSearching();
  void AcceptEnglish(int code);
  void JapaneseInSync();
  void JapaneseSearching();
  void AcceptJapanese(int value);
  void SyncOnPhasing(bool complemented);
  void SwitchLanguage(bool english);
  void LoseSync(bool cut);

  struct OwnText {
    explicit OwnText(LineSink& sink) : line(sink), codes(line) {}
    DecodedLine line;
    CodeHandler codes;
  };

  DecoderSettings settings_;
  ReceptionIndicators& indicators_;
  std::unique_ptr<OwnText> ownText_;
  DecodedLine& line_;
  CodeHandler& codes_;
  BitRegister register_;
  bool charSync_ = false;
  // In sync from phasing with no character since: the phasing that begins a transmission. Phasing
  // pairs checked in sync then tell the sink (PhasingSeen). The first match while searching does
  // not (noise gives one now and then), nor does the phasing after a text (a message cut off in
  // it may still end by the time-out's rules).
  bool beginningPhasing_ = false;
  int pairBitCounter_ = 0;
};

}  // namespace seaherald
