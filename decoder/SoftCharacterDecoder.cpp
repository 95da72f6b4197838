#include "decoder/SoftCharacterDecoder.h"

#include <algorithm>
#include <cmath>

namespace seaherald {
namespace {

// Evidence is summed over about this many recent pairs of an alignment.
constexpr double EvidenceMemory = 8.0;
constexpr double EvidenceDecay = 1.0 - 1.0 / EvidenceMemory;
// However strongly a pair or a stretch of signal speaks against an alignment, a few good pairs
// must be enough to take it up once a station starts there: a strong station of the other
// service, a crash of static or the phasing before the text would otherwise bury it for seconds.
constexpr double PairEvidenceFloor = -SoftCharacterDecoder::AcquireEvidence;
constexpr double SummedEvidenceFloor = -2 * SoftCharacterDecoder::AcquireEvidence;
// In sync, the evidence of the last two or so pairs must not fall below this: a station that has
// stopped leaves pairs that fit no character, and sync ends as on a failed check instead of
// waiting for noise to fail the threshold by chance.
constexpr double RecentDecay = 0.5;
constexpr double HoldEvidence = -3.0;
constexpr double UsualAveraging = 1.0 / 32;
constexpr double SpreadsBelowUsual = 8.0;
constexpr double FloorSlack = 1.0;
constexpr double StrayMargin = 4.0;
constexpr int NewTransmissionPhasingPairs = 3;
constexpr double StationGoneEvidence = -4.0;
constexpr double FirstSpread = 2.0;  // assumed until the station's own spread is known
constexpr int ResumeBits = 8 * 20;
constexpr double ResumeSlack = 3.0;

// Pairs after which a lost Japanese pairing is no longer followed.
constexpr int MaxPairsToBridge = 16;

bool IsJapaneseControl(int value) {
  return value == CodeHandler::JapaneseLineFeed || value == CodeHandler::JapaneseCarriageReturn ||
         value == CodeHandler::JapanesePhasing1 || value == CodeHandler::JapanesePhasing2;
}

// Japanese text is JIS X 0208 characters of two values each, and line controls between them. A
// character begins with a row that has characters (1 to 8, 16 to 84) and ends with any of the 94
// places of a row.
std::bitset<128> JisValues(bool firstHalf) {
  std::bitset<128> values;
  for (int value = 0x21; value <= 0x7E; ++value) {
    const bool row = (value <= 0x28) || (value >= 0x30 && value <= 0x74);
    values.set(static_cast<std::size_t>(value), !firstHalf || row);
  }
  if (firstHalf) {
    values.set(CodeHandler::JapaneseLineFeed);
    values.set(CodeHandler::JapaneseCarriageReturn);
  }
  return values;
}

double LogCoshHalf(double value) {
  const double magnitude = std::abs(value);
  return magnitude / 2 + std::log1p(std::exp(-magnitude)) - std::log(2.0);
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
  soft_.fill(0);
  logCosh_.fill(0);
  presence_.fill(0);
  newest_ = 0;
  bitCount_ = 0;
  read_.fill(false);
  for (auto& sums : evidence_)
    sums.fill(0);
  charSync_ = false;
  pairBitCounter_ = 0;
  phasingRun_ = 0;
  heldCount_ = 0;
  shiftRepair_.Clear();
  lostAtBit_ = -1;
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
  const int pairBits = 2 * Book(HypothesisAt(hypothesis).english).Bits();
  return static_cast<int>(bitCount_ % pairBits);
}

void SoftCharacterDecoder::TakeSoftBit(double softBit, double presence) {
  Push(softBit, presence);
  ReadPairs();
  if (charSync_) {
    InSync();
  } else {
    Search();
  }
  indicators_.CharSeenThisSecond = indicators_.CharSeenThisSecond || charSync_;
}

void SoftCharacterDecoder::Push(double softBit, double presence) {
  newest_ = (newest_ + HistoryLength - 1) % HistoryLength;
  presence_[newest_] = presence;
  soft_[newest_] = soft_[newest_ + HistoryLength] = softBit;
  logCosh_[newest_] = logCosh_[newest_ + HistoryLength] = LogCoshHalf(softBit);
  ++bitCount_;
}

// Reads the pair ending at this bit for every service in question (only the set one in manual
// mode) and adds its evidence to the alignment it belongs to.
void SoftCharacterDecoder::ReadPairs() {
  read_.fill(false);
  for (const bool english : {false, true}) {
    if (!settings_.AutoSet && english != settings_.DecLang) continue;
    const SoftCodeBook& book = Book(english);
    if (bitCount_ < book.PairSpan()) continue;
    const std::span<const double> soft(soft_.data() + newest_, book.PairSpan());
    const std::span<const double> logCosh(logCosh_.data() + newest_, book.PairSpan());
    const std::array<PairReading, 2> readings = book.Read(soft, logCosh);
    for (const bool inverted : {false, true}) {
      const int h = IndexOf({english, inverted});
      readings_[h] = readings[inverted ? 1 : 0];
      read_[h] = true;
      double& sum = evidence_[h][Alignment(h)];
      sum = std::max(EvidenceDecay * sum + std::max(readings_[h].evidence, PairEvidenceFloor),
                     SummedEvidenceFloor);
    }
  }
}

void SoftCharacterDecoder::InSync() {
  indicators_.LedCount = 0;
  if (!settings_.DecLang) indicators_.IdleSeconds = 0;
  const int pairBits = 2 * Book(settings_.DecLang).Bits();
  if (pairBitCounter_ < pairBits - 1) {
    ++pairBitCounter_;
    return;
  }
  const int h = IndexOf(Current());
  if (!read_[h]) return;  // too few bits yet after a reset
  if (NewestPresence(settings_.DecLang) < StationGoneEvidence) {
    // The newest copy holds noise alone: the station has stopped.
    lastDecidedBit_ = bitCount_;
    LoseSync(true);
    return;
  }
  const PairReading reading = settings_.DecLang ? readings_[h] : JapaneseReading(h);
  recentEvidence_ = RecentDecay * recentEvidence_ + reading.evidence;
  // A station copied well gives each pair nearly the full evidence a pair can carry; a pair far
  // below what it has been giving, and read without a clear lead, is the noise after its end,
  // not a character. (One weak bit lowers the evidence too, but leaves the reading clear.)
  const double spread = std::sqrt(std::max(usualSquare_ - usualEvidence_ * usualEvidence_, 0.0));
  // Never above half of what a pair can carry: a steady station still has the odd weak pair.
  const double floor = std::min(usualEvidence_ - SpreadsBelowUsual * spread - FloorSlack,
                                Book(settings_.DecLang).FullEvidence() / 2);
  const bool stray = reading.evidence < floor && reading.margin < StrayMargin;
  if (recentEvidence_ < HoldEvidence || stray) {
    lastDecidedBit_ = bitCount_;
    LoseSync(true);
    return;
  }
  // Only pairs read with a clear lead and above the floor tell what the station gives.
  if (reading.evidence >= floor && reading.margin >= StrayMargin) {
    usualEvidence_ += UsualAveraging * (reading.evidence - usualEvidence_);
    usualSquare_ += UsualAveraging * (reading.evidence * reading.evidence - usualSquare_);
  }
  Decide(reading);
}

void SoftCharacterDecoder::Decide(const PairReading& reading) {
  lastDecidedBit_ = bitCount_;
  if (reading.margin <= CharacterMargin) {
    LoseSync(true);
    return;
  }
  if (reading.choice == PairReading::Phasing) {
    pairBitCounter_ = 0;
    codes_.ResetJisPair();
    // A character read between phasing pairs was a misread phasing pair.
    heldCount_ = 0;
    // A run of phasing with no character in it begins a new transmission; a single pair read as
    // phasing inside a weak text must not end the message it belongs to.
    if (++phasingRun_ == NewTransmissionPhasingPairs) line_.PhasingSeen();
    return;
  }
  if (phasingRun_ > 0) {
    Hold(reading);
    return;
  }
  Accept(reading);
}

// Over seconds of phasing a weak signal leaves the odd pair misread as a character, and the noise
// after a station's closing phasing is read as characters until sync goes. Text after phasing is
// therefore held back until a few characters in a row confirm it.
void SoftCharacterDecoder::Hold(const PairReading& reading) {
  pairBitCounter_ = 0;
  held_[heldCount_++] = reading;
  if (heldCount_ < HeldPairs) return;
  heldCount_ = 0;
  phasingRun_ = 0;
  for (const PairReading& confirmed : held_) {
    if (!charSync_) break;
    Accept(confirmed);
  }
}

void SoftCharacterDecoder::Accept(const PairReading& reading) {
  phasingRun_ = 0;
  if (!settings_.DecLang) {
    codes_.HandleJapaneseCode(reading.choice);
    pairBitCounter_ = 0;
    return;
  }
  indicators_.IdleSeconds = 0;
  shiftRepair_.Take(reading.choice, reading.margin);
  if (!codes_.HasEnglishEntry(reading.choice)) {
    LoseSync(false);
    return;
  }
  pairBitCounter_ = 0;
  codes_.HandleEnglishCode(reading.choice);
}

// In sync on Japanese text, the pair is read as one of the values that can stand where it stands:
// the first or second half of a character, or a line control between characters.
PairReading SoftCharacterDecoder::JapaneseReading(int hypothesis) const {
  static const std::bitset<128> firstHalves = JisValues(true);
  static const std::bitset<128> secondHalves = JisValues(false);
  const SoftCodeBook& book = Book(false);
  const std::span<const double> soft(soft_.data() + newest_, book.PairSpan());
  const std::span<const double> logCosh(logCosh_.data() + newest_, book.PairSpan());
  const std::bitset<128>& allowed = codes_.JisCount() == 0 ? firstHalves : secondHalves;
  return book.Read(soft, logCosh, &allowed)[HypothesisAt(hypothesis).inverted ? 1 : 0];
}

// Whether the newest copy holds a tone at the station's level, in nats over noise alone.
double SoftCharacterDecoder::NewestPresence(bool english) const {
  double sum = 0;
  for (int i = 0; i < Book(english).Bits(); ++i)
    sum += presence_[(newest_ + i) % HistoryLength];
  return sum;
}

// Takes sync where the summed evidence of an alignment ending at this bit is strong enough and
// the pair there can be read.
void SoftCharacterDecoder::Search() {
  const int h = AcceptableHypothesis();
  if (h < 0) return;
  const PairReading& reading = readings_[h];
  // Sync lost a moment ago on this alignment is taken up again only by a pair about as good as
  // the station gave; a stray pair of the noise after its end must not do it.
  const bool recentlyLost = lostAtBit_ >= 0 && bitCount_ - lostAtBit_ <= ResumeBits;
  const bool resuming = h == lostHypothesis_ && recentlyLost;
  const double needed = resuming ? std::max(0.0, usualEvidence_ - ResumeSlack) : 0.0;
  if (reading.margin <= CharacterMargin || reading.evidence <= needed) return;
  // The evidence summed before a station stopped lingers: soon after sync was lost, it is taken
  // again only where a tone is.
  if (recentlyLost && NewestPresence(HypothesisAt(h).english) < 0) return;
  recentEvidence_ = evidence_[h][Alignment(h)];
  if (!resuming) {
    usualEvidence_ = recentEvidence_ / EvidenceMemory;
    usualSquare_ = usualEvidence_ * usualEvidence_ + FirstSpread * FirstSpread;
  }
  const Hypothesis found = HypothesisAt(h);
  const Hypothesis current = Current();
  if (found.english != current.english || found.inverted != current.inverted) Adopt(found);
  charSync_ = true;
  pairBitCounter_ = 0;
  shiftRepair_.Clear();
  codes_.ResetJisPair();
  const std::int64_t firstUnread = ReadBack(h);
  if (!charSync_) return;
  lastDecidedBit_ = bitCount_;
  phasingRun_ = 0;
  if (reading.choice == PairReading::Phasing) {
    line_.ClearLine();
    phasingRun_ = 1;
    return;
  }
  if (firstUnread == bitCount_ && !settings_.DecLang && SecondHalfOfLostPair(h, bitCount_) &&
      !IsJapaneseControl(reading.choice)) {
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
  const int pairBits = 2 * book.Bits();
  std::array<PairReading, MaxReadBack> earlier{};
  int count = 0;
  for (int back = 1; back <= MaxReadBack; ++back) {
    const int offset = back * pairBits;
    if (bitCount_ - offset <= lastDecidedBit_ || offset + book.PairSpan() > HistoryLength) break;
    const std::span<const double> soft(soft_.data() + newest_ + offset, book.PairSpan());
    const std::span<const double> logCosh(logCosh_.data() + newest_ + offset, book.PairSpan());
    const PairReading reading = book.Read(soft, logCosh)[h.inverted ? 1 : 0];
    if (reading.margin <= CharacterMargin || reading.evidence <= 0) break;
    earlier[count++] = reading;
  }
  const std::int64_t first = bitCount_ - std::int64_t{count} * pairBits;
  for (int i = count - 1; i >= 0 && charSync_; --i) {
    const PairReading& reading = earlier[i];
    if (reading.choice == PairReading::Phasing) {
      codes_.ResetJisPair();
      continue;
    }
    if (i == count - 1 && !h.english && SecondHalfOfLostPair(hypothesis, first) &&
        !IsJapaneseControl(reading.choice)) {
      continue;
    }
    Accept(reading);
  }
  return first;
}

// A Japanese character takes two values. When sync comes back on the alignment it was lost on,
// the number of characters in between tells whether this value completes a pair whose first half
// was lost; joining it to the next value would garble the rest of the line.
bool SoftCharacterDecoder::SecondHalfOfLostPair(int hypothesis, std::int64_t atBit) const {
  if (lostAtBit_ < 0 || hypothesis != lostHypothesis_) return false;
  const std::int64_t elapsed = atBit - lostAtBit_;
  const int pairBits = 2 * Book(false).Bits();
  if (elapsed % pairBits != 0 || elapsed > MaxPairsToBridge * pairBits) return false;
  return (lostJisCount_ + elapsed / pairBits) % 2 == 1;
}

// The set service and polarity unless automatic mode finds another more likely.
int SoftCharacterDecoder::AcceptableHypothesis() const {
  const int current = IndexOf(Current());
  int chosen = Acceptable(current) ? current : -1;
  if (!settings_.AutoSet) return chosen;
  for (int h = 0; h < Hypotheses; ++h) {
    if (h == current || !Acceptable(h)) continue;
    if (chosen < 0 || evidence_[h][Alignment(h)] > evidence_[chosen][Alignment(chosen)]) {
      chosen = h;
    }
  }
  return chosen;
}

// The alignment ending at this bit has enough evidence and more than any other of its kind.
bool SoftCharacterDecoder::Acceptable(int hypothesis) const {
  if (!read_[hypothesis]) return false;
  const int pairBits = 2 * Book(HypothesisAt(hypothesis).english).Bits();
  const auto& sums = evidence_[hypothesis];
  const double here = sums[Alignment(hypothesis)];
  return here >= AcquireEvidence &&
         here >= *std::max_element(sums.begin(), sums.begin() + pairBits);
}

// Automatic mode: the service and polarity found become the settings; what was on the line
// belonged to the other reading.
void SoftCharacterDecoder::Adopt(Hypothesis h) {
  settings_.DecLang = h.english;
  settings_.DecInv = h.english == h.inverted;
  line_.ClearLine();
}

void SoftCharacterDecoder::LoseSync(bool cut) {
  shiftRepair_.Clear();
  phasingRun_ = 0;
  heldCount_ = 0;
  lostAtBit_ = bitCount_;
  lostHypothesis_ = IndexOf(Current());
  lostJisCount_ = codes_.JisCount();
  charSync_ = false;
  codes_.ResetJisPair();
  line_.EndLine(cut);
}

}  // namespace seaherald
