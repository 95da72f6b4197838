#include "decoder/SoftCharacterDecoder.h"

#include <algorithm>
#include <array>

#include "decoder/EndMarkerShape.h"
#include "decoder/StartLineShape.h"

namespace seaherald {
namespace {

std::bitset<128> JapaneseControls() {
  std::bitset<128> controls;
  controls.set(CodeHandler::JapaneseLineFeed);
  controls.set(CodeHandler::JapaneseCarriageReturn);
  return controls;
}

}  // namespace

SoftCharacterDecoder::SoftCharacterDecoder(DecoderSettings settings,
                                           ReceptionIndicators& indicators, DecodedLine& line,
                                           CodeHandler& codes)
    : settings_(settings),
      indicators_(indicators),
      line_(line),
      codes_(codes),
      shiftRepair_(codes, line) {}

const SoftCodeBook& SoftCharacterDecoder::Book(bool english) {
  return english ? SoftCodeBook::English() : SoftCodeBook::Japanese();
}

void SoftCharacterDecoder::Reset() {
  history_.Clear();
  evidence_.Clear();
  station_.Restart();
  held_.Clear();
  pairing_.Forget();
  read_.fill(false);
  charSync_ = false;
  pairBitCounter_ = 0;
  phasingRun_ = 0;
  confirming_ = 0;
  suspectAtBit_ = -1;
  transmissionStart_ = false;
  shiftRepair_.Clear();
  lastDecidedBit_ = -1;
}

void SoftCharacterDecoder::DropSync() {
  if (charSync_) LoseSync(true);
}

// English takes a 1 as the upper tone, Japanese as the lower; DecInv inverts either.
SoftCharacterDecoder::Hypothesis SoftCharacterDecoder::Current() const {
  return {settings_.DecLang, settings_.DecLang == settings_.DecInv};
}

int SoftCharacterDecoder::Alignment(int hypothesis) const {
  return static_cast<int>(history_.BitCount() % PairBits(HypothesisAt(hypothesis).english));
}

void SoftCharacterDecoder::TakeSoftBit(double softBit) {
  history_.Push(softBit);
  ReadPairs();
  if (charSync_) {
    InSync();
  } else {
    Search();
  }
  indicators_.CharSeenThisSecond = indicators_.CharSeenThisSecond || charSync_;
}

// Reads the pair ending at this bit for every service in question (only the set one in manual
// mode) and adds its evidence to the alignment it belongs to.
void SoftCharacterDecoder::ReadPairs() {
  read_.fill(false);
  for (const bool english : {false, true}) {
    if (!settings_.AutoSet && english != settings_.DecLang) continue;
    const SoftCodeBook& book = Book(english);
    if (!history_.Holds(book, 0)) continue;
    const std::array<PairReading, 2> readings = history_.Read(book, 0);
    for (const bool inverted : {false, true}) {
      const int h = IndexOf({english, inverted});
      readings_[h] = readings[inverted ? 1 : 0];
      read_[h] = true;
      evidence_.Add(h, Alignment(h), readings_[h].evidence);
    }
  }
}

// In sync on Japanese text, the pair is read as one of the values that can stand where it
// stands: the first or second half of a character, or a line control between characters.
PairReading SoftCharacterDecoder::ReadInSync(int hypothesis) const {
  if (settings_.DecLang) return readings_[hypothesis];
  const bool firstHalf = JapanesePairing::NextIsFirstHalf(codes_.JisCount(), held_.Readings());
  return history_.Read(
      Book(false), 0,
      &JapanesePairing::Allowed(firstHalf))[HypothesisAt(hypothesis).inverted ? 1 : 0];
}

void SoftCharacterDecoder::InSync() {
  indicators_.LedCount = 0;
  if (!settings_.DecLang) indicators_.IdleSeconds = 0;
  const int pairBits = PairBits(settings_.DecLang);
  if (pairBitCounter_ < pairBits - 1) {
    ++pairBitCounter_;
    return;
  }
  const int h = IndexOf(Current());
  if (!read_[h]) return;  // too few bits yet after a reset
  lastDecidedBit_ = history_.BitCount();
  pairBitCounter_ = 0;
  const PairReading reading = ReadInSync(h);
  if (reading.margin <= CharacterMargin) {
    // No reading likelier than another: both copies are digital silence, the input broke off.
    LoseSync(true);
    return;
  }
  const bool weak = StationWatch::Weak(reading, Book(settings_.DecLang));
  if (!weak && station_.LongAbsent()) {
    const Return back = AfterLongAbsence(h);
    if (back == Return::kAnother || (back == Return::kNotYet && held_.Full())) {
      LoseSync(true);
      return;
    }
    if (back == Return::kNotYet) {
      held_.Push(reading);
      return;
    }
  }
  station_.Count(weak, pairBits);
  if (station_.Gone() || held_.Full()) {
    // Noise alone for longer than a fade lasts: the station has stopped, and what was held is
    // the noise after it. (Held text that nothing confirms for as long ends the same way.)
    LoseSync(true);
    return;
  }
  if (weak) {
    held_.Push(reading);
    return;
  }
  Decide(reading);
}

// The pair just read after a long absence carries a signal. It is the station in sync when its
// alignment has gathered the evidence sync is taken on and leads every other; another alignment
// or service leading instead is a new signal, which sync must be let go for.
SoftCharacterDecoder::Return SoftCharacterDecoder::AfterLongAbsence(int hypothesis) const {
  const double here = evidence_.At(hypothesis, Alignment(hypothesis));
  double elsewhere = AlignmentEvidence::MinimumSum;
  for (int h = 0; h < Hypotheses; ++h) {
    if (h != hypothesis && !settings_.AutoSet) continue;
    const double lead = h == hypothesis ? 0.0 : SwitchLead;
    for (int a = 0; a < PairBits(HypothesisAt(h).english); ++a) {
      if (h != hypothesis || a != Alignment(hypothesis))
        elsewhere = std::max(elsewhere, evidence_.At(h, a) - lead);
    }
  }
  if (here >= AcquireEvidence && here >= elsewhere) return Return::kBack;
  return elsewhere >= AcquireEvidence ? Return::kAnother : Return::kNotYet;
}

void SoftCharacterDecoder::Decide(const PairReading& reading) {
  if (reading.choice == PairReading::Phasing) {
    if (phasingRun_ == 0 && suspectAtBit_ < 0) {
      // Inside text a single pair read as phasing is likelier a misread character than the end
      // of the transmission; the next pair tells. Meanwhile the pairing of Japanese text stays.
      ReleaseHeld(false);
      suspectAtBit_ = history_.BitCount();
      return;
    }
    const bool confirmsSuspect = suspectAtBit_ >= 0;
    suspectAtBit_ = -1;
    codes_.ResetJisPair();
    // A character read between phasing pairs was a misread phasing pair.
    held_.Clear();
    confirming_ = 0;
    phasingRun_ += confirmsSuspect ? 2 : 1;
    // A run of phasing with no character in it begins a new transmission; a single pair read as
    // phasing inside a weak text must not end the message it belongs to.
    if (phasingRun_ >= NewTransmissionPhasingPairs &&
        phasingRun_ - (confirmsSuspect ? 2 : 1) < NewTransmissionPhasingPairs) {
      line_.PhasingSeen();
      transmissionStart_ = true;
    }
    return;
  }
  ResolveSuspect();
  // The suspect, read again, may have been no character at all: sync is gone with it.
  if (!charSync_) return;
  if (phasingRun_ > 0) {
    // Over seconds of phasing a weak signal leaves the odd pair misread as a character: text
    // after phasing waits until a few characters in a row confirm it.
    held_.Push(reading);
    if (++confirming_ < ConfirmingPairs) return;
    phasingRun_ = 0;
    confirming_ = 0;
    ReleaseHeld(false);
    return;
  }
  ReleaseHeld(true);
  if (charSync_) Accept(reading);
}

// Text goes on after a pair read as phasing: that pair is read again as the likeliest character
// and printed as a guess.
void SoftCharacterDecoder::ResolveSuspect() {
  if (suspectAtBit_ < 0) return;
  const std::int64_t suspect = suspectAtBit_;
  suspectAtBit_ = -1;
  AcceptAsGuess(suspect);
}

// The pair ending at `endBit`, read as phasing where text goes on, read again as the likeliest
// character. A Japanese value is read as half of a character: a line control in its place would
// break the pairing of the rest of the line, which the phasing reading left alone.
void SoftCharacterDecoder::AcceptAsGuess(std::int64_t endBit) {
  const std::int64_t back = history_.BitCount() - endBit;
  const bool english = settings_.DecLang;
  const SoftCodeBook& book = Book(english);
  if (back > SoftBitHistory::Length || !history_.Holds(book, static_cast<int>(back))) {
    // Too old to read again: the character is lost, and the next one says so.
    codes_.ResetJisPair();
    line_.DoubtNextCharacter(Doubt::kGuessed);
    return;
  }
  const bool firstHalf = english || JapanesePairing::NextIsFirstHalf(codes_.JisCount(), {});
  const std::bitset<128> halves = JapanesePairing::Allowed(firstHalf) & ~JapaneseControls();
  PairReading reading = history_.Read(book, static_cast<int>(back), english ? nullptr : &halves,
                                      false)[IndexOf(Current()) % 2 == 1 ? 1 : 0];
  reading.margin = 0;  // phasing was likelier
  Accept(reading);
}

// With `textGoesOn` the held pairs lay inside text, so one read as phasing was a character misread
// in a fade; otherwise (after phasing, or before a pair read as phasing) it may be phasing.
void SoftCharacterDecoder::ReleaseHeld(bool textGoesOn) {
  if (held_.Readings().empty()) return;
  const HeldReadings released = held_;
  held_.Clear();
  for (const PairReading& reading : released.Readings()) {
    if (!charSync_) break;
    if (reading.choice != PairReading::Phasing) {
      Accept(reading);
    } else if (textGoesOn) {
      AcceptAsGuess(reading.endBit);
    } else {
      codes_.ResetJisPair();
    }
  }
}

// A reading without a clear lead where a start line has a fixed part is read again among what
// can stand there and judged by its lead over that alone, so that a header heard through a fade
// is filed when its own letters and figures are sure.
PairReading SoftCharacterDecoder::AsStartLinePart(const PairReading& reading) const {
  // No lead at all (phasing was likelier) stays a guess.
  if (reading.margin >= SureMargin || reading.margin <= CharacterMargin || reading.choice < 0)
    return reading;
  const bool english = settings_.DecLang;
  const std::optional<std::bitset<128>> codes = StartLineFixedCodes(
      line_.Text(), {english, static_cast<Shift>(codes_.ShiftState()), codes_.JisCount(),
                     codes_.JisPair()[0], transmissionStart_});
  if (!codes) return reading;
  const SoftCodeBook& book = Book(english);
  const std::int64_t back = history_.BitCount() - reading.endBit;
  if (back > SoftBitHistory::Length || !history_.Holds(book, static_cast<int>(back)))
    return reading;
  // The first Japanese value of a transmission's text may as well be the last of its phasing,
  // read in a fade: taken for the marker's first half it would shift the pairing of the line.
  const bool textStart =
      !english && transmissionStart_ && line_.Text().empty() && codes_.JisCount() == 0;
  PairReading fixed = history_.Read(book, static_cast<int>(back), &*codes,
                                    textStart)[IndexOf(Current()) % 2 == 1 ? 1 : 0];
  fixed.margin = std::max(fixed.margin, fixed.choice == reading.choice ? reading.margin : 0.0);
  return fixed;
}

void SoftCharacterDecoder::Accept(const PairReading& heard) {
  transmissionStart_ = transmissionStart_ && BeforeMarkerEnd(line_.Text(), settings_.DecLang);
  const PairReading reading = AsStartLinePart(heard);
  if (reading.choice == PairReading::Phasing) return;
  phasingRun_ = 0;
  const double sure = InHeader(line_.Text(), settings_.DecLang) ? HeaderMargin : SureMargin;
  if (reading.margin < sure) {
    line_.DoubtNextCharacter(reading.margin < GuessMargin ? Doubt::kGuessed : Doubt::kDoubtful);
  }
  if (!settings_.DecLang) {
    if (reading.choice == CodeHandler::JapaneseLineFeed) RepairEndMarkerLine();
    codes_.HandleJapaneseCode(reading.choice);
    return;
  }
  indicators_.IdleSeconds = 0;
  shiftRepair_.Take(reading.choice,
                    {reading.margin, reading.toLettersShift, reading.toFiguresShift});
  if (!codes_.HasEnglishEntry(reading.choice)) {
    LoseSync(false);
    return;
  }
  if (reading.choice == LineFeedCode) RepairEndMarkerLine();
  codes_.HandleEnglishCode(reading.choice);
}

bool SoftCharacterDecoder::RepairEndMarkerLine() {
  const std::optional<EndMarkerRepair> repair =
      RepairEndMarker(line_.Text(), line_.Unsure(), settings_.DecLang);
  if (!repair) return false;
  // The text before a marker whose line end was lost is kept whole: in the marker's line it would
  // be dropped from the message.
  if (repair->textBytes > 0) line_.BreakLine(repair->textBytes);
  line_.ReplaceTail(repair->tailBytes, repair->text);
  return true;
}

// Takes sync where the summed evidence of an alignment ending at this bit is strong enough and
// the pair there can be read.
void SoftCharacterDecoder::Search() {
  const int h = AcceptableHypothesis();
  if (h < 0) return;
  const PairReading& reading = readings_[h];
  if (reading.margin <= CharacterMargin ||
      StationWatch::Weak(reading, Book(HypothesisAt(h).english))) {
    return;
  }
  const Hypothesis found = HypothesisAt(h);
  const Hypothesis current = Current();
  if (found.english != current.english || found.inverted != current.inverted) Adopt(found);
  charSync_ = true;
  pairBitCounter_ = 0;
  station_.Restart();
  held_.Clear();
  shiftRepair_.Clear();
  codes_.ResetJisPair();
  const std::int64_t firstUnread = ReadBack(h);
  if (!charSync_) return;
  lastDecidedBit_ = history_.BitCount();
  phasingRun_ = 0;
  confirming_ = 0;
  if (reading.choice == PairReading::Phasing) {
    line_.ClearLine();
    phasingRun_ = 1;
    return;
  }
  if (firstUnread == history_.BitCount() && !settings_.DecLang &&
      pairing_.SecondHalfOfLostPair(h, history_.BitCount(), PairBits(false)) &&
      !JapanesePairing::IsControl(reading.choice)) {
    return;
  }
  Accept(reading);
}

// The pairs that built up the evidence for an alignment came before sync was taken on it. Those
// still in the history and not yet decided are read now, oldest first, as far back as they can
// all be read. Returns the bit of the first pair read (this bit when none is).
std::int64_t SoftCharacterDecoder::ReadBack(int hypothesis) {
  const Hypothesis h = HypothesisAt(hypothesis);
  const SoftCodeBook& book = Book(h.english);
  const int pairBits = PairBits(h.english);
  std::array<PairReading, MaxReadBack> earlier{};
  int count = 0;
  for (int back = 1; back <= MaxReadBack; ++back) {
    const int offset = back * pairBits;
    if (history_.BitCount() - offset <= lastDecidedBit_ || !history_.Holds(book, offset)) break;
    const PairReading reading = history_.Read(book, offset)[h.inverted ? 1 : 0];
    if (reading.margin <= CharacterMargin || StationWatch::Weak(reading, book)) break;
    earlier[count++] = reading;
  }
  const std::int64_t first = history_.BitCount() - std::int64_t{count} * pairBits;
  for (int i = count - 1; i >= 0 && charSync_; --i) {
    const PairReading& reading = earlier[i];
    if (reading.choice == PairReading::Phasing) {
      codes_.ResetJisPair();
      continue;
    }
    if (i == count - 1 && !h.english &&
        pairing_.SecondHalfOfLostPair(hypothesis, first, pairBits) &&
        !JapanesePairing::IsControl(reading.choice)) {
      continue;
    }
    Accept(reading);
  }
  return first;
}

// The set service and polarity unless automatic mode finds another more likely.
int SoftCharacterDecoder::AcceptableHypothesis() const {
  const int current = IndexOf(Current());
  int chosen = Acceptable(current) ? current : -1;
  if (!settings_.AutoSet) return chosen;
  for (int h = 0; h < Hypotheses; ++h) {
    if (h == current || !Acceptable(h)) continue;
    const double lead = chosen == current ? SwitchLead : 0.0;
    if (chosen < 0 ||
        evidence_.At(h, Alignment(h)) > evidence_.At(chosen, Alignment(chosen)) + lead) {
      chosen = h;
    }
  }
  return chosen;
}

bool SoftCharacterDecoder::Acceptable(int hypothesis) const {
  if (!read_[hypothesis]) return false;
  return evidence_.Acceptable(hypothesis, Alignment(hypothesis),
                              PairBits(HypothesisAt(hypothesis).english));
}

// Automatic mode: the service and polarity found become the settings; what was on the line
// belonged to the other reading.
void SoftCharacterDecoder::Adopt(Hypothesis h) {
  settings_.DecLang = h.english;
  settings_.DecInv = h.english == h.inverted;
  line_.ClearLine();
}

void SoftCharacterDecoder::LoseSync(bool cut) {
  // The Japanese pairing goes on from the first value not handed over: held values and a suspect
  // dropped here are lost values too.
  std::int64_t firstLost = history_.BitCount();
  if (suspectAtBit_ >= 0) {
    firstLost = suspectAtBit_;
  } else if (!held_.Readings().empty()) {
    firstLost = held_.Readings().front().endBit;
  }
  transmissionStart_ = false;
  shiftRepair_.Clear();
  phasingRun_ = 0;
  confirming_ = 0;
  suspectAtBit_ = -1;
  held_.Clear();
  pairing_.Lost(firstLost, IndexOf(Current()), codes_.JisCount());
  charSync_ = false;
  codes_.ResetJisPair();
  // A marker completed is a whole line, not one cut short.
  const bool marker = RepairEndMarkerLine();
  const bool betweenLines = line_.Text().empty();
  line_.EndLine(cut && !marker);
  // Characters lost between lines leave no cut line to count, and a repeat missing them would
  // tie a whole copy: the first character read again stands for them.
  if (cut && betweenLines) line_.DoubtNextCharacter(Doubt::kGuessed);
}

}  // namespace seaherald
