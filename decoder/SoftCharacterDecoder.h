#pragma once

#include <array>
#include <cstdint>

#include "decoder/CodeHandler.h"
#include "decoder/DecodedLine.h"
#include "decoder/DecoderSettings.h"
#include "decoder/ReceptionIndicators.h"
#include "decoder/ShiftRepair.h"
#include "decoder/SoftCodeBook.h"

namespace seaherald {

// The character decoder of the high-sensitivity path, driven by soft bits. Each character is read
// from both of its copies together as the likeliest valid code word; a reading whose lead over
// the next is below a threshold counts as not received, as a failed comparison does in the
// standard path. Character alignment, service and polarity are found from the evidence that the
// soft bits carry a pair of the service at each possible alignment, summed over recent pairs, so
// sync is found and kept where single bits are often wrong.
class SoftCharacterDecoder {
 public:
  // Lead of the likeliest reading (nats) at or below which a character counts as not received.
  // Only a reading that is no likelier than another (a copy lost to silence, say) is refused: at
  // every SNR measured, a guess costs fewer characters than a cut line and the characters lost
  // until sync returns.
  static constexpr double CharacterMargin = 0.0;
  // Summed evidence an alignment needs before sync is taken on it (nats).
  static constexpr double AcquireEvidence = 12.0;

  SoftCharacterDecoder(DecoderSettings settings, ReceptionIndicators& indicators, DecodedLine& line,
                       CodeHandler& codes);

  // Forgets everything heard; the settings stay.
  void Reset();
  // One soft bit: the log-likelihood ratio of the upper tone over the lower one, and that of a
  // tone at the station's level over noise alone.
  void TakeSoftBit(double softBit, double presence);
  // Ends sync as a failed check would (the path is being left).
  void DropSync();

  bool CharSync() const { return charSync_; }
  int PairBitCounter() const { return pairBitCounter_; }

 private:
  static constexpr int HistoryLength = 128;
  static constexpr int MaxReadBack = 6;  // English pairs that fit the history before a pair
  static constexpr int Hypotheses = 4;   // service x polarity
  static constexpr int MaxPairBits = 20;
  static constexpr int HeldPairs = 3;  // characters in a row that confirm text after phasing

  struct Hypothesis {
    bool english;
    bool inverted;  // the soft bits are read inverted (before the service's own convention)
  };

  static Hypothesis HypothesisAt(int index) { return {index >= 2, index % 2 == 1}; }
  static int IndexOf(Hypothesis h) { return (h.english ? 2 : 0) + (h.inverted ? 1 : 0); }
  static const SoftCodeBook& Book(bool english);

  Hypothesis Current() const;
  int Alignment(int hypothesis) const;
  void Push(double softBit, double presence);
  double NewestPresence(bool english) const;
  PairReading JapaneseReading(int hypothesis) const;
  void ReadPairs();
  void InSync();
  void Search();
  int AcceptableHypothesis() const;
  bool Acceptable(int hypothesis) const;
  void Adopt(Hypothesis h);
  void Decide(const PairReading& reading);
  void Hold(const PairReading& reading);
  void Accept(const PairReading& reading);
  void LoseSync(bool cut);
  bool SecondHalfOfLostPair(int hypothesis, std::int64_t atBit) const;
  std::int64_t ReadBack(int hypothesis);

  DecoderSettings settings_;
  ReceptionIndicators& indicators_;
  DecodedLine& line_;
  CodeHandler& codes_;

  std::array<double, 2 * HistoryLength> soft_{};  // each value twice, so windows are contiguous
  std::array<double, 2 * HistoryLength> logCosh_{};
  std::array<double, HistoryLength> presence_{};
  int newest_ = 0;
  std::int64_t bitCount_ = 0;
  std::array<PairReading, Hypotheses> readings_{};
  std::array<bool, Hypotheses> read_{};
  std::array<std::array<double, MaxPairBits>, Hypotheses> evidence_{};
  double recentEvidence_ = 0;
  double usualEvidence_ = 0;          // mean evidence of the pairs read in sync
  double usualSquare_ = 0;            // and the mean of its square         // of the pairs
                                      // read in sync, the newest weighing most
  std::int64_t lastDecidedBit_ = -1;  // of the last pair read in sync
  std::int64_t lostAtBit_ = -1;       // where sync was last lost, with what was known then
  int lostHypothesis_ = 0;
  int lostJisCount_ = 0;
  int phasingRun_ = 0;                         // phasing pairs read in a row since sync was taken
  std::array<PairReading, HeldPairs> held_{};  // text read since the last phasing pair
  int heldCount_ = 0;
  ShiftRepair shiftRepair_;
  bool charSync_ = false;
  int pairBitCounter_ = 0;
};

}  // namespace seaherald
