// The modulator is checked against the code tables and bit orders that the receiver expects, so
// that a round-trip failure can be pinned on the decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "tests/support/EnglishCode.h"
#include "tests/support/FskModulator.h"
#include "tests/support/GaussianNoise.h"
#include "tests/support/JapaneseCode.h"
#include "tests/support/ShiftJisText.h"
#include "tests/support/TestSignal.h"
#include "tests/support/Transmission.h"

namespace seaherald::testsignal {
namespace {

using Bits = std::vector<std::uint8_t>;

template <std::size_t N>
Bits ToVector(const std::array<std::uint8_t, N>& bits) {
  return {bits.begin(), bits.end()};
}

std::vector<int> Values(const std::vector<CodedCharacter>& coded) {
  std::vector<int> values;
  for (const CodedCharacter& c : coded)
    values.push_back(c.value);
  return values;
}

Bits Slice(const Bits& bits, std::size_t start, std::size_t count) {
  return {bits.begin() + static_cast<std::ptrdiff_t>(start),
          bits.begin() + static_cast<std::ptrdiff_t>(start + count)};
}

TEST(EnglishCodeTest, BitsGoOutMostSignificantFirst) {
  EXPECT_EQ(ToVector(EnglishCodeBits(120)), (Bits{1, 1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(ToVector(EnglishCodeBits(51)), (Bits{0, 1, 1, 0, 0, 1, 1}));
  EXPECT_EQ(ToVector(EnglishCodeBits(15)), (Bits{0, 0, 0, 1, 1, 1, 1}));
  EXPECT_THROW(EnglishCodeBits(128), std::invalid_argument);
}

TEST(EnglishCodeTest, HeaderLineUsesTableCodesAndShifts) {
  // Z C Z C space G A, figures 1 2, CR LF: a letters shift first because the receiver's shift is
  // unknown, a figures shift before the digits.
  EXPECT_EQ(Values(EncodeEnglishText("ZCZC GA12\r\n")),
            (std::vector<int>{45, 99, 92, 99, 92, 29, 86, 113, 54, 58, 114, 15, 27}));
}

TEST(EnglishCodeTest, ShiftOnlyWhenTheShiftChanges) {
  EXPECT_EQ(Values(EncodeEnglishText("Q1 2Q")),
            (std::vector<int>{45, 58, 54, 58, 29, 114, 45, 58}));
  const auto coded = EncodeEnglishText("A1");
  ASSERT_EQ(coded.size(), 4u);
  EXPECT_TRUE(coded[2].isShift);
  EXPECT_EQ(coded[2].textOffset, 1u);
  EXPECT_FALSE(coded[3].isShift);
  EXPECT_EQ(coded[3].textOffset, 1u);
}

TEST(EnglishCodeTest, EveryTextCodeHasWeightFour) {
  for (const CodedCharacter& c :
       EncodeEnglishText("ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789-?:().,/=+\r\n")) {
    EXPECT_EQ(std::popcount(static_cast<unsigned>(c.value)), 4) << c.value;
  }
}

TEST(EnglishCodeTest, CharactersOutsideTheAlphabetAreRejected) {
  EXPECT_THROW(EncodeEnglishText("lower"), std::invalid_argument);
  EXPECT_THROW(EncodeEnglishText("50%"), std::invalid_argument);
}

TEST(JapaneseCodeTest, PhasingCharactersMatchTheirBitStrings) {
  EXPECT_EQ(ToVector(JapaneseCharacterBits(4)), (Bits{0, 0, 1, 0, 0, 0, 0, 1, 1, 0}));
  EXPECT_EQ(ToVector(JapaneseCharacterBits(25)), (Bits{1, 0, 0, 1, 1, 0, 0, 1, 0, 0}));
}

TEST(JapaneseCodeTest, CheckBitsCountTheZeroDataBits) {
  for (int value = 0; value < 128; ++value) {
    const auto bits = JapaneseCharacterBits(value);
    const int ones = std::accumulate(bits.begin(), bits.begin() + 7, 0);
    const int check = bits[7] * 4 + bits[8] * 2 + bits[9];
    EXPECT_EQ(ones + check, 7) << value;
  }
}

// The receiver's JIS to Shift-JIS arithmetic, written out from its definition.
std::pair<int, int> ReceiverShiftJis(int j1, int j2) {
  int s1 = j1 % 2 == 1 ? (j1 + 1) / 2 + 112 : j1 / 2 + 112;
  int s2 = j1 % 2 == 1 ? j2 + 31 : j2 + 125;
  if (s1 >= 160) s1 += 64;
  if (s2 >= 127) s2 += 1;
  return {s1, s2};
}

TEST(JapaneseCodeTest, ShiftJisToJisInvertsTheReceiverArithmetic) {
  for (int j1 = 33; j1 <= 126; ++j1) {
    for (int j2 = 33; j2 <= 126; ++j2) {
      const auto [s1, s2] = ReceiverShiftJis(j1, j2);
      EXPECT_EQ(ShiftJisToJis(static_cast<std::uint8_t>(s1), static_cast<std::uint8_t>(s2)),
                (JisPair{j1, j2}))
          << j1 << "," << j2;
    }
  }
}

TEST(JapaneseCodeTest, KnownCharacters) {
  EXPECT_EQ(ShiftJisToJis(0x82, 0x6D), (JisPair{35, 78}));  // full-width N
  EXPECT_EQ(ShiftJisToJis(0x81, 0x40), (JisPair{33, 33}));  // ideographic space
  // The same characters through the system's own code-page tables.
  const std::string n = Utf8ToShiftJis("Ｎ");
  EXPECT_EQ(ShiftJisToJis(static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1])),
            (JisPair{35, 78}));
  const std::string kanji = Utf8ToShiftJis("海");  // JIS X 0208 0x3324 (EUC-JP B3 A4)
  EXPECT_EQ(ShiftJisToJis(static_cast<std::uint8_t>(kanji[0]), static_cast<std::uint8_t>(kanji[1])),
            (JisPair{0x33, 0x24}));
  EXPECT_THROW(ShiftJisToJis(0x41, 0x40), std::invalid_argument);
  EXPECT_THROW(ShiftJisToJis(0x82, 0x7F), std::invalid_argument);
}

TEST(JapaneseCodeTest, TextBecomesPairsAndLineControls) {
  const std::string text = Utf8ToShiftJis("ＮＮ\r\n");
  EXPECT_EQ(Values(EncodeJapaneseText(text)), (std::vector<int>{35, 78, 35, 78, 13, 10}));
  EXPECT_THROW(EncodeJapaneseText("N"), std::invalid_argument);
  EXPECT_THROW(EncodeJapaneseText(text.substr(0, 1)), std::invalid_argument);
}

TEST(TransmissionTest, EnglishPhasingPutsCode51InDxAnd120InRx) {
  Transmission transmission;
  transmission.text = "E";
  transmission.phasingSeconds = 0.28;  // two pairs
  transmission.trailingPhasingSeconds = 0;
  const Bits bits = TransmissionBits(transmission);
  // Two phasing pairs, the E in DX of pair 2 and its repeat in RX of pair 4, which holds
  // because the pairs after the text run on until every repeat is out. "E" needs a letters
  // shift first, so the text is two codes long.
  ASSERT_EQ(bits.size(), (2u + 2u + 2u) * 14u);
  EXPECT_EQ(Slice(bits, 0, 7), ToVector(EnglishCodeBits(51)));
  EXPECT_EQ(Slice(bits, 7, 7), ToVector(EnglishCodeBits(120)));
  EXPECT_EQ(Slice(bits, 28, 7), ToVector(EnglishCodeBits(45)));
  EXPECT_EQ(Slice(bits, 35, 7), ToVector(EnglishCodeBits(120)));
  EXPECT_EQ(Slice(bits, 42, 7), ToVector(EnglishCodeBits(53)));
  // Each repeat comes 35 bits after its first copy.
  EXPECT_EQ(Slice(bits, 28 + 35, 7), ToVector(EnglishCodeBits(45)));
  EXPECT_EQ(Slice(bits, 42 + 35, 7), ToVector(EnglishCodeBits(53)));
  EXPECT_EQ(Slice(bits, 70, 7), ToVector(EnglishCodeBits(51)));
}

TEST(TransmissionTest, JapanesePhasingPutsValue25InDxAnd4InRx) {
  Transmission transmission;
  transmission.language = Language::Japanese;
  transmission.text = "\r\n";
  transmission.phasingSeconds = 0.2;  // one pair
  transmission.trailingPhasingSeconds = 0;
  const Bits bits = TransmissionBits(transmission);
  ASSERT_EQ(bits.size(), (1u + 2u + 2u) * 20u);
  EXPECT_EQ(Slice(bits, 0, 10), ToVector(JapaneseCharacterBits(25)));
  EXPECT_EQ(Slice(bits, 10, 10), ToVector(JapaneseCharacterBits(4)));
  EXPECT_EQ(Slice(bits, 20, 10), ToVector(JapaneseCharacterBits(13)));
  EXPECT_EQ(Slice(bits, 20 + 50, 10), ToVector(JapaneseCharacterBits(13)));
  EXPECT_EQ(Slice(bits, 40, 10), ToVector(JapaneseCharacterBits(10)));
  EXPECT_EQ(Slice(bits, 40 + 50, 10), ToVector(JapaneseCharacterBits(10)));
}

TEST(TransmissionTest, BitErrorsHitOnlyTheChosenCopy) {
  Transmission clean;
  clean.text = "ET";
  clean.phasingSeconds = 0;
  clean.trailingPhasingSeconds = 0;
  const Bits reference = TransmissionBits(clean);
  // Codes: shift (pair 0), E (pair 1), T (pair 2); T's DX at bit 28, its repeat at 28 + 35.
  for (const Copy copy : {Copy::Dx, Copy::Rx, Copy::Both}) {
    Transmission damaged = clean;
    damaged.bitErrors = {{1, copy, 3}};
    const Bits bits = TransmissionBits(damaged);
    std::vector<std::size_t> flipped;
    for (std::size_t i = 0; i < bits.size(); ++i) {
      if (bits[i] != reference[i]) flipped.push_back(i);
    }
    std::vector<std::size_t> expected;
    if (copy != Copy::Rx) expected.push_back(28 + 3);
    if (copy != Copy::Dx) expected.push_back(28 + 35 + 3);
    EXPECT_EQ(flipped, expected);
  }
  Transmission wrong = clean;
  wrong.bitErrors = {{7, Copy::Dx, 0}};
  EXPECT_THROW(TransmissionBits(wrong), std::invalid_argument);
  wrong.bitErrors = {{1, Copy::Dx, 7}};
  EXPECT_THROW(TransmissionBits(wrong), std::invalid_argument);
}

TEST(TransmissionTest, StoppedBroadcastEndsBeforeTheNamedCharacter) {
  Transmission transmission;
  transmission.text = "EEEE";
  transmission.phasingSeconds = 0;
  transmission.stopAtTextOffset = 2;
  // Shift, E, E go out in DX; nothing follows the third pair.
  EXPECT_EQ(TransmissionBits(transmission).size(), 3u * 14u);
}

TEST(ToneBitsTest, LanguagesSendOppositeTonesForTheSameBit) {
  Transmission english;
  english.text = "E";
  english.phasingSeconds = 0;
  Transmission japanese;
  japanese.language = Language::Japanese;
  japanese.text = "\n";
  japanese.phasingSeconds = 0;
  EXPECT_EQ(ToneBits(english, false), TransmissionBits(english));
  const Bits japaneseBits = TransmissionBits(japanese);
  const Bits japaneseTones = ToneBits(japanese, false);
  const Bits japaneseInverted = ToneBits(japanese, true);
  for (std::size_t i = 0; i < japaneseBits.size(); ++i) {
    EXPECT_EQ(japaneseTones[i], 1 - japaneseBits[i]);
    EXPECT_EQ(japaneseInverted[i], japaneseBits[i]);
  }
}

// Power of a tone at `hz` in `samples`, by correlation.
double TonePower(std::span<const double> samples, double hz) {
  std::complex<double> sum;
  for (std::size_t n = 0; n < samples.size(); ++n) {
    sum += samples[n] * std::polar(1.0, -2.0 * std::numbers::pi * hz * static_cast<double>(n) /
                                            SignalSampleRate);
  }
  return std::norm(sum) / static_cast<double>(samples.size() * samples.size());
}

TEST(FskModulatorTest, TonesSitAtCentrePlusOffsetAndShift) {
  FskModulator modulator({.centerHz = 700, .offsetHz = 10, .rateError = 0, .amplitude = 1000});
  std::vector<double> high;
  std::vector<double> low;
  const Bits ones(50, 1);
  const Bits zeros(50, 0);
  modulator.AppendBits(ones, high);
  modulator.AppendBits(zeros, low);
  ASSERT_EQ(high.size(), 50u * 441u);
  EXPECT_GT(TonePower(high, 795), 100 * TonePower(high, 625));
  EXPECT_GT(TonePower(low, 625), 100 * TonePower(low, 795));
  EXPECT_NEAR(TonePower(high, 795), 1000.0 * 1000.0 / 4, 1000.0);
}

TEST(FskModulatorTest, PhaseIsContinuousAcrossBitBoundaries) {
  FskModulator modulator({.centerHz = 1000, .offsetHz = 0, .rateError = 0, .amplitude = 1000});
  std::vector<double> samples;
  const Bits alternating{0, 1, 0, 1, 1, 0, 0, 1, 0, 1};
  modulator.AppendBits(alternating, samples);
  // A jump of phase would show as a step larger than the steepest slope of the upper tone.
  const double largestStep = 1000 * 2 * std::numbers::pi * 1085.0 / SignalSampleRate;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    EXPECT_LE(std::abs(samples[i] - samples[i - 1]), largestStep * 1.0001) << i;
  }
}

TEST(FskModulatorTest, RateErrorChangesTheBitLength) {
  for (const double error : {-0.003, 0.0, 0.003}) {
    FskModulator modulator({.centerHz = 800, .offsetHz = 0, .rateError = error, .amplitude = 1});
    std::vector<double> samples;
    const Bits bits(1000, 1);
    modulator.AppendBits(bits, samples);
    EXPECT_NEAR(static_cast<double>(samples.size()), 1000 * 441.0 / (1 + error), 1.0) << error;
  }
}

TEST(FskModulatorTest, RejectsTonesOutsideTheBand) {
  EXPECT_THROW(FskModulator({.centerHz = 80}), std::invalid_argument);
  EXPECT_THROW(FskModulator({.centerHz = 22000}), std::invalid_argument);
  EXPECT_NO_THROW(FskModulator({.centerHz = 1499}));
}

TEST(NoiseTest, SnrCountsNoiseInA2500HzBand) {
  // 10 dB: the tone's power is ten times the noise power between 0 and 2500 Hz.
  const double amplitude = 1000;
  GaussianNoise noise(7);
  std::vector<double> samples(44100, 0.0);
  noise.AddTo(samples, NoiseDeviationFor(amplitude, 10.0));
  // Noise power in 0..2500 Hz from the periodogram of 10 Hz bins over 0.1 s segments.
  double inBand = 0;
  const std::size_t segment = 4410;
  for (std::size_t start = 0; start < samples.size(); start += segment) {
    const std::span<const double> part(samples.data() + start, segment);
    for (int bin = 1; bin < 250; ++bin)
      inBand += 2 * TonePower(part, bin * 10.0);
    inBand += TonePower(part, 0) + TonePower(part, 2500);
  }
  inBand /= static_cast<double>(samples.size() / segment);
  EXPECT_NEAR(10 * std::log10(amplitude * amplitude / 2 / inBand), 10.0, 0.3);
}

TEST(NoiseTest, SameSeedSameSignal) {
  std::vector<Transmission> transmissions(1);
  transmissions[0].text = "NNNN\r\n";
  SignalOptions options;
  options.snrDb = 6;
  const auto first = Modulate(transmissions, options);
  EXPECT_EQ(first, Modulate(transmissions, options));
  options.seed = 2;
  EXPECT_NE(first, Modulate(transmissions, options));
}

TEST(ToPcm16Test, RoundsAndSaturates) {
  const std::vector<double> samples{0.4, -0.6, 40000, -40000, 32767.2, -32768.4};
  EXPECT_EQ(ToPcm16(samples), (std::vector<std::int16_t>{0, -1, 32767, -32768, 32767, -32768}));
}

}  // namespace
}  // namespace seaherald::testsignal
