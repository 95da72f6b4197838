#pragma once

#include <cstdint>

#include "decoder/AlignmentEvidence.h"
#include "decoder/CodeHandler.h"
#include "decoder/DecodedLine.h"
#include "decoder/DecoderSettings.h"
#include "decoder/HeldReadings.h"
#include "decoder/JapanesePairing.h"
#include "decoder/ReceptionIndicators.h"
#include "decoder/ShiftRepair.h"
#include "decoder/SoftBitHistory.h"
#include "decoder/SoftCodeBook.h"
#include "decoder/StationWatch.h"

namespace seaherald {

// The character decoder of the high-sensitivity path, driven by soft bits. Each character is read
// from both of its copies together as the likeliest valid code word. Sync is found from the
// evidence summed over recent pairs (AlignmentEvidence), kept through fades until the station's
// absence lasts (StationWatch), and text is held back where it may be noise or misread phasing
// (HeldReadings). A character read without a clear lead is printed but marked unsure, so that the
// message log counts it as an error and never takes it into a header.
class SoftCharacterDecoder {
 public:
  // Lead of the likeliest reading (nats) at or below which a character counts as not received.
  // Only a reading that is no likelier than another (a copy lost to silence, say) is refused: at
  // every SNR measured, a guess costs fewer characters than a cut line and the characters lost
  // until sync returns.
  static constexpr double CharacterMargin = 0.0;
  // Leads below which a character printed is marked doubtful (it never stands in a header, and
  // its message never replaces a copy with as few errors) or guessed (an error of its message).
  static constexpr double SureMargin = 5.0;
  static constexpr double GuessMargin = 1.5;
  // A header's letter or figure must lead by more: one read wrong files the message under another
  // header, and over thousands of messages under fading a lead of five nats was wrong now and
  // then, where the next broadcast of a message missed brings it again.
  static constexpr double HeaderMargin = 6.5;
  static constexpr double AcquireEvidence = AlignmentEvidence::AcquireEvidence;
  // Lead (nats) another service or polarity needs over the one in sync to take its place. A
  // Japanese code word inverted is another code word, so inside text only phasing tells the two
  // polarities apart, and without a lead a fade could turn the rest of a message to nonsense.
  static constexpr double SwitchLead = 6.0;

  SoftCharacterDecoder(DecoderSettings settings, ReceptionIndicators& indicators, DecodedLine& line,
                       CodeHandler& codes);

  // Forgets everything heard; the settings stay.
  void Reset();
  // One soft bit: the log-likelihood ratio of the upper tone over the lower one.
  void TakeSoftBit(double softBit);
  // Ends sync as a failed check would (the path is being left).
  void DropSync();

  bool CharSync() const { return charSync_; }
  int PairBitCounter() const { return pairBitCounter_; }

 private:
  static constexpr int MaxReadBack = 6;  // English pairs that fit the history before a pair
  static constexpr int Hypotheses = AlignmentEvidence::Hypotheses;
  static constexpr int ConfirmingPairs = 3;  // characters in a row that confirm text after phasing
  static constexpr int NewTransmissionPhasingPairs = 3;

  struct Hypothesis {
    bool english;
    bool inverted;  // the soft bits are read inverted (before the service's own convention)
  };

  static Hypothesis HypothesisAt(int index) { return {index >= 2, index % 2 == 1}; }
  static int IndexOf(Hypothesis h) { return (h.english ? 2 : 0) + (h.inverted ? 1 : 0); }
  static const SoftCodeBook& Book(bool english);
  static int PairBits(bool english) { return 2 * Book(english).Bits(); }

  Hypothesis Current() const;
  int Alignment(int hypothesis) const;
  void ReadPairs();
  PairReading ReadInSync(int hypothesis) const;
  enum class Return { kBack, kAnother, kNotYet };
  Return AfterLongAbsence(int hypothesis) const;
  void InSync();
  void Decide(const PairReading& reading);
  void ReleaseHeld(bool textGoesOn);
  void AcceptAsGuess(std::int64_t endBit);
  void ResolveSuspect();
  void Search();
  int AcceptableHypothesis() const;
  bool Acceptable(int hypothesis) const;
  void Adopt(Hypothesis h);
  void Accept(const PairReading& reading);
  // Makes the line the end marker where a letter of it was lost; true when it did.
  bool RepairEndMarkerLine();
  PairReading AsStartLinePart(const PairReading& reading) const;
  void LoseSync(bool cut);
  std::int64_t ReadBack(int hypothesis);

  DecoderSettings settings_;
  ReceptionIndicators& indicators_;
  DecodedLine& line_;
  CodeHandler& codes_;

  SoftBitHistory history_;
  AlignmentEvidence evidence_;
  StationWatch station_;
  HeldReadings held_;
  JapanesePairing pairing_;
  ShiftRepair shiftRepair_;
  std::array<PairReading, Hypotheses> readings_{};
  std::array<bool, Hypotheses> read_{};
  std::int64_t lastDecidedBit_ = -1;  // of the last pair read in sync
  int phasingRun_ = 0;                // phasing pairs read in a row since sync was taken
  int confirming_ = 0;                // characters read in a row since the last phasing pair
  std::int64_t suspectAtBit_ = -1;    // a pair read as phasing inside text, until the next tells
  bool transmissionStart_ = false;    // a run of phasing began a transmission, no text yet past it
  bool charSync_ = false;
  int pairBitCounter_ = 0;
};

}  // namespace seaherald
