// The character decoder of the high-sensitivity path on soft bits made by hand: a fade of both
// copies, the noise after a station and a character misread as phasing must each cost at most
// the characters they hit, never the line, its Japanese pairing or spurious text.
#include "decoder/SoftCharacterDecoder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "decoder/CodeHandler.h"
#include "decoder/CodeTables.h"
#include "decoder/DecodedLine.h"
#include "decoder/EndMarkerShape.h"
#include "decoder/JisToShiftJis.h"
#include "tests/decoder/RecordingSink.h"
#include "tests/roundtrip/Messages.h"
#include "tests/support/JapaneseCode.h"
#include "tests/support/Transmission.h"

namespace seaherald {
namespace {

using testsignal::Copy;
using testsignal::Language;
using testsignal::Transmission;

constexpr double Clear = 6.0;  // soft value of a bit of a station heard well

// Keeps the doubts of every line besides its text.
class DoubtingSink final : public test::RecordingSink {
 public:
  void AddUnsureLine(const std::string& line, bool cut, const UnsureBytes& unsure) override {
    AddReceivedLine(line, cut);
    doubted.push_back(line);
    static_cast<void>(unsure);
  }
  std::vector<std::string> doubted;
};

// The soft values a demodulator would give for the broadcast's bits.
std::vector<double> SoftBits(const std::vector<std::uint8_t>& bits, Language language) {
  std::vector<double> soft;
  for (const std::uint8_t bit : bits) {
    const bool upper = language == Language::English ? bit != 0 : bit == 0;
    soft.push_back(upper ? Clear : -Clear);
  }
  return soft;
}

// Where each bit of one copy of the code sent for a text offset lies in the bits.
std::vector<std::size_t> CopyBits(const Transmission& transmission, std::size_t offset, Copy copy) {
  const auto plain = testsignal::TransmissionBits(transmission);
  std::vector<std::size_t> at;
  for (int bit = 0; bit < testsignal::CharacterBitCount(transmission.language); ++bit) {
    Transmission hit = transmission;
    hit.bitErrors = {{offset, copy, bit}};
    const auto flipped = testsignal::TransmissionBits(hit);
    for (std::size_t i = 0; i < plain.size(); ++i) {
      if (plain[i] != flipped[i]) at.push_back(i);
    }
  }
  return at;
}

class Decoding {
 public:
  explicit Decoding(Language language)
      : english_(language == Language::English),
        line_(sink_),
        codes_(line_),
        decoder_({english_, inverted_, autoSet_, centre_}, indicators_, line_, codes_) {}

  const DoubtingSink& Run(const std::vector<double>& soft) {
    for (const double value : soft)
      decoder_.TakeSoftBit(value);
    decoder_.DropSync();
    return sink_;
  }

 private:
  bool english_;
  bool inverted_ = false;
  bool autoSet_ = true;
  double centre_ = 800;
  ReceptionIndicators indicators_;
  DoubtingSink sink_;
  DecodedLine line_;
  CodeHandler codes_;
  SoftCharacterDecoder decoder_;
};

std::vector<std::string> Texts(const std::vector<test::ReceivedLine>& lines) {
  std::vector<std::string> texts;
  for (const auto& line : lines)
    texts.push_back(line.text);
  return texts;
}

std::vector<std::string> SentTexts(const Transmission& transmission) {
  std::vector<std::string> texts;
  for (const auto& line : roundtrip::LinesOf(transmission))
    texts.push_back(line.text);
  return texts;
}

// The test broadcast, or one of `text` (UTF-8), after four seconds of phasing.
Transmission Broadcast(Language language, std::string_view text = {}) {
  const bool english = language == Language::English;
  if (text.empty()) text = english ? roundtrip::EnglishMessageText : roundtrip::JapaneseMessageUtf8;
  Transmission transmission =
      english ? roundtrip::EnglishBroadcast(text) : roundtrip::JapaneseBroadcast(text);
  transmission.phasingSeconds = 4.0;
  return transmission;
}

// The soft values of a transmission heard clearly.
std::vector<double> SoftOf(const Transmission& transmission) {
  return SoftBits(testsignal::TransmissionBits(transmission), transmission.language);
}

TEST(SoftCharacterDecoder, AFadeOfBothCopiesCostsItsCharactersNotTheLine) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    std::vector<double> soft = SoftOf(transmission);
    // 0.6 s of noise alone over both copies of the characters in the middle of the second line.
    const std::size_t middle = roundtrip::OffsetOf(transmission, "\r\n", 0) + 8;
    const std::size_t from = CopyBits(transmission, middle, Copy::Dx).front();
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 0.3);
    for (std::size_t i = from; i < from + 60 && i < soft.size(); ++i)
      soft[i] = noise(random);

    Decoding decoding(language);
    const DoubtingSink& sink = decoding.Run(soft);
    const auto sent = SentTexts(transmission);
    const auto got = Texts(sink.lines);
    ASSERT_EQ(got.size(), sent.size()) << testing::PrintToString(got);
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_FALSE(sink.lines[i].cut) << i;
      EXPECT_EQ(got[i].size(), sent[i].size()) << i;
      if (i != 1) {
        EXPECT_EQ(got[i], sent[i]);
      }
    }
    EXPECT_EQ(sink.doubted, std::vector<std::string>{got[1]}) << "the faded characters are doubted";
  }
}

// Under slow fading both copies can lie in a fade for two seconds: sync holds on, and the line
// goes on whole, its faded characters guessed, instead of being cut with those after it lost.
TEST(SoftCharacterDecoder, ATwoSecondFadeInsideALineLeavesTheLineWhole) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(
        language, language == Language::English
                      ? "ZCZC GA12\r\nGUNNERY EXERCISES 120100 UTC TO 120500 UTC IN AREA ALFA\r\n"
                        "NNNN\r\n"
                      : "ＺＣＺＣ　ＧＡ１２３\r\n日本海西部　北緯３８度　東経１３５度　付近で"
                        "射撃訓練を行う\r\nＮＮＮＮ\r\n");
    const auto sent = SentTexts(transmission);
    std::vector<double> soft = SoftOf(transmission);
    const std::size_t from =
        CopyBits(transmission, roundtrip::OffsetOf(transmission, "\r\n", 0) + 6, Copy::Dx).front();
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.3);
    for (std::size_t i = from; i < from + 260; ++i)
      soft[i] = 0.05 * soft[i] + noise(random);

    Decoding decoding(language);
    const DoubtingSink& sink = decoding.Run(soft);
    const auto got = Texts(sink.lines);
    ASSERT_EQ(got.size(), sent.size()) << testing::PrintToString(got);
    EXPECT_FALSE(sink.lines[1].cut);
    // One line from the characters before the fade to those after it.
    EXPECT_TRUE(got[1].starts_with(sent[1].substr(0, 6)) && got[1].ends_with(sent[1].substr(40)))
        << got[1];
    EXPECT_EQ(sink.doubted, std::vector<std::string>{got[1]});
    EXPECT_EQ(got.back(), sent.back());
  }
}

// A fade of five seconds right after a line end, long enough for the station watch to let go,
// loses the start of the next line with nothing cut: the line must still count what it lost, or
// a repeat missing those characters would tie, and replace, a whole copy. The Japanese text after
// it keeps its pairing and its polarity.
TEST(SoftCharacterDecoder, CharactersLostBetweenLinesAreCounted) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(
        language,
        language == Language::English
            ? "ZCZC GA12\r\nQUICK BROWN FOX\r\nJUMPS OVER THE LAZY DOG "
              "AND RUNS FAR AWAY INTO THE WOODS.\r\nNNNN\r\n"
            : "ＺＣＺＣ　ＧＡ１２３\r\n航行警報\r\n日本海西部　北緯３８度　東経１３５度　付近で"
              "射撃訓練を行う\r\nＮＮＮＮ\r\n");
    const auto sent = SentTexts(transmission);
    const std::size_t from =
        CopyBits(transmission, roundtrip::OffsetOf(transmission, "\r\n", 1) + 2, Copy::Dx).front();
    // Four fades; after some the inverted Japanese reading has a little more evidence, and over
    // the last the bit clock slips by two bits.
    for (const auto& [fadeSeed, slipBits] : {std::pair{1u, 0}, {32u, 0}, {34u, 0}, {5u, 2}}) {
      std::vector<double> soft = SoftOf(transmission);
      std::mt19937 random(fadeSeed);
      std::normal_distribution<double> noise(0.0, 0.3);
      for (std::size_t i = from; i < from + 500; ++i)
        soft[i] = noise(random);
      const auto slipAt = soft.begin() + static_cast<std::ptrdiff_t>(from) + 100;
      soft.erase(slipAt, slipAt + slipBits);

      Decoding decoding(language);
      const DoubtingSink& sink = decoding.Run(soft);
      const auto got = Texts(sink.lines);
      ASSERT_EQ(got.size(), sent.size()) << testing::PrintToString(got);
      EXPECT_LT(got[2].size(), sent[2].size()) << "the fade took characters";
      EXPECT_EQ(sent[2].substr(sent[2].size() - got[2].size()), got[2]) << fadeSeed;
      EXPECT_EQ(sink.doubted, std::vector<std::string>{got[2]});
      EXPECT_EQ(got.back(), sent.back());
    }
  }
}

TEST(SoftCharacterDecoder, NoiseAfterTheStationIsNeverPrinted) {
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    std::vector<double> soft = SoftOf(transmission);
    std::mt19937 random(9);
    std::normal_distribution<double> noise(0.0, 0.4);
    for (int i = 0; i < 600; ++i)
      soft.push_back(noise(random));
    Decoding decoding(language);
    const auto got = Texts(decoding.Run(soft).lines);
    EXPECT_EQ(got, SentTexts(transmission));
  }
}

// The last phasing pair before a Japanese text, deep in a fade, read as a character would start
// the marker one value early and pair every character of the start line wrongly.
TEST(SoftCharacterDecoder, AFadedLastPhasingPairIsNotTakenForTheMarker) {
  const Transmission transmission = Broadcast(Language::Japanese);
  const auto sent = SentTexts(transmission);
  const int length = testsignal::CharacterBitCount(Language::Japanese);
  // Its two copies: a pair before the first character's.
  const std::size_t dx = CopyBits(transmission, 0, Copy::Dx).front() - 2 * length;
  const std::size_t rx = CopyBits(transmission, 0, Copy::Rx).front() - 2 * length;
  for (unsigned fadeSeed = 1; fadeSeed <= 60; ++fadeSeed) {
    std::vector<double> soft = SoftOf(transmission);
    std::mt19937 random(fadeSeed);
    std::normal_distribution<double> noise(0.0, 0.5);
    for (int i = 0; i < length; ++i) {
      soft[dx + i] = 0.08 * soft[dx + i] + noise(random);
      soft[rx + i] = 0.08 * soft[rx + i] + noise(random);
    }
    Decoding decoding(Language::Japanese);
    EXPECT_EQ(Texts(decoding.Run(soft).lines), sent) << fadeSeed;
  }
}

// Both copies of one Japanese value read as the phasing pair, heard clearly or in a fade: the
// value is guessed, never dropped, and the characters after it keep their pairing.
TEST(SoftCharacterDecoder, AValueReadAsPhasingInsideTextKeepsThePairing) {
  const Transmission transmission = Broadcast(Language::Japanese);
  std::vector<std::uint8_t> bits = testsignal::TransmissionBits(transmission);
  // The phasing pair as received: the copy sent first (DX) and the newest (RX).
  const std::vector<std::uint8_t> phasingDx{1, 0, 0, 1, 1, 0, 0, 1, 0, 0};
  const std::vector<std::uint8_t> phasingRx{0, 0, 1, 0, 0, 0, 0, 1, 1, 0};
  const std::size_t offset = roundtrip::OffsetOf(transmission, "\r\n", 0) + 4;
  const auto dx = CopyBits(transmission, offset, Copy::Dx);
  const auto rx = CopyBits(transmission, offset, Copy::Rx);
  ASSERT_EQ(dx.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i) {
    bits[dx[i]] = phasingDx[i];
    bits[rx[i]] = phasingRx[i];
  }
  const auto sent = SentTexts(transmission);
  // The character whose half was hit may differ; every other character is as sent.
  const std::size_t hit = offset - (roundtrip::OffsetOf(transmission, "\r\n", 0) + 2);
  const std::size_t character = hit - hit % 2;
  for (const double level : {1.0, 0.1}) {
    std::vector<double> soft = SoftBits(bits, Language::Japanese);
    for (std::size_t i = 0; i < 10; ++i) {
      soft[dx[i]] *= level;
      soft[rx[i]] *= level;
    }
    Decoding decoding(Language::Japanese);
    const DoubtingSink& sink = decoding.Run(soft);
    const auto got = Texts(sink.lines);
    ASSERT_EQ(got.size(), sent.size()) << testing::PrintToString(got);
    EXPECT_EQ(got[1].substr(0, character), sent[1].substr(0, character)) << level;
    EXPECT_EQ(got[1].substr(character + 2), sent[1].substr(character + 2)) << level;
    EXPECT_EQ(got.back(), sent.back());
    EXPECT_EQ(sink.doubted, std::vector<std::string>{got[1]}) << level;
  }
}

// The character at `offset` replaced by one whose code differs from it in only two bits (keeping
// the weight every code has), chosen by `fits`: the closest rival a reading can have.
std::string CloseRival(const Transmission& transmission, std::size_t offset,
                       const std::function<bool(std::string_view)>& fits, bool jisRow = false) {
  std::string text = transmission.text;
  if (transmission.language == Language::English) {
    for (const Shift shift : {Shift::Letters, Shift::Figures}) {
      for (int sent = 0; sent < EnglishCodeCount; ++sent) {
        if (EnglishEntry(shift, sent) != text.substr(offset, 1)) continue;
        for (int rival = 0; rival < EnglishCodeCount; ++rival) {
          const std::string_view entry = EnglishEntry(shift, rival);
          if (std::popcount(unsigned(sent ^ rival)) != 2 || std::popcount(unsigned(rival)) != 4 ||
              entry.size() != 1 || entry == " " || !fits(entry))
            continue;
          text[offset] = entry[0];
          return text;
        }
      }
    }
  } else {
    const auto jis = testsignal::ShiftJisToJis(static_cast<std::uint8_t>(text[offset]),
                                               static_cast<std::uint8_t>(text[offset + 1]));
    const int sent = jisRow ? jis.first : jis.second;
    for (int rival = 0x21; rival < 0x7F; ++rival) {
      const auto bytes =
          jisRow ? JisToShiftJis(rival, jis.second) : JisToShiftJis(jis.first, rival);
      const std::string character{static_cast<char>(bytes[0]), static_cast<char>(bytes[1])};
      if (std::popcount(unsigned(sent ^ rival)) != 2 ||
          std::popcount(unsigned(sent)) != std::popcount(unsigned(rival)) || !fits(character))
        continue;
      text.replace(offset, 2, character);
      return text;
    }
  }
  ADD_FAILURE() << "no close rival at " << offset;
  return text;
}

// Both copies of every bit in which the sent text and `rival` differ are heard only faintly, as
// sent (`towards` > 0) or as the rival (< 0): the reading has the other close behind it.
void Faint(std::vector<double>& soft, const Transmission& sent, const std::string& rival,
           double towards) {
  Transmission other = sent;
  other.text = rival;
  const auto a = testsignal::TransmissionBits(sent);
  const auto b = testsignal::TransmissionBits(other);
  ASSERT_EQ(a.size(), b.size());
  int differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    soft[i] *= towards;
    ++differing;
  }
  ASSERT_EQ(differing, 4) << "two bits in each copy";
}

bool Alphanumeric(std::string_view c) {
  if (c.size() == 1) return std::isalnum(static_cast<unsigned char>(c[0])) != 0;
  const auto trail = static_cast<unsigned char>(c[1]);
  return static_cast<unsigned char>(c[0]) == 0x82 && trail >= 0x4F && trail <= 0x79;
}

// The fixed parts of a start line (the marker's space, the row of a Japanese header character) are
// read as what stands there even when a faint rival was likelier, and the header is filed; the
// header's own figures still need their lead over every code, and a faint one keeps it from
// being filed.
TEST(SoftCharacterDecoder, AStartLineIsReadAroundWhatIsFixedInIt) {
  const auto other = [](std::string_view c) { return !Alphanumeric(c); };
  const auto letter = [](std::string_view c) { return Alphanumeric(c) && !std::isdigit(c[0]); };
  const auto anything = [](std::string_view) { return true; };
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    const bool english = language == Language::English;
    const std::size_t space = english ? 4 : 8;
    const std::size_t digit = english ? 7 : 14;  // the first figure of the header
    const std::size_t text = roundtrip::OffsetOf(transmission, "\r\n", 0) + 4;
    const auto sent = SentTexts(transmission);
    const std::vector<double> clean = SoftOf(transmission);

    std::vector<double> fixedParts = clean;
    Faint(fixedParts, transmission, CloseRival(transmission, space, english ? letter : anything),
          -0.1);
    Faint(fixedParts, transmission, CloseRival(transmission, english ? 2 : 4, letter), -0.1);
    if (!english) {
      Faint(fixedParts, transmission, CloseRival(transmission, digit, anything, true), -0.1);
    }
    Faint(fixedParts, transmission, CloseRival(transmission, text, anything), 0.1);
    Decoding fixedDecoding(language);
    const DoubtingSink& fixedSink = fixedDecoding.Run(fixedParts);
    EXPECT_EQ(Texts(fixedSink.lines), sent);
    EXPECT_EQ(fixedSink.doubted, std::vector<std::string>{sent[1]}) << english;

    std::vector<double> figure = clean;
    Faint(figure, transmission, CloseRival(transmission, digit, other), 0.1);
    Decoding figureDecoding(language);
    const DoubtingSink& figureSink = figureDecoding.Run(figure);
    EXPECT_EQ(Texts(figureSink.lines), sent);
    EXPECT_EQ(figureSink.doubted, std::vector<std::string>{sent[0]}) << english;
  }
}

// Four bits at a quarter of a clear bit's value leave a lead of about six nats: enough for a
// character of text, not for a figure of the header, which would file the message under another.
TEST(SoftCharacterDecoder, AHeaderFigureNeedsAClearerLeadThanText) {
  const auto other = [](std::string_view c) { return !Alphanumeric(c); };
  const auto anything = [](std::string_view) { return true; };
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    const std::size_t digit = language == Language::English ? 7 : 14;
    const std::size_t text = roundtrip::OffsetOf(transmission, "\r\n", 0) + 4;
    const auto sent = SentTexts(transmission);
    const std::vector<double> clean = SoftOf(transmission);
    for (const bool inHeader : {true, false}) {
      std::vector<double> soft = clean;
      Faint(soft, transmission,
            inHeader ? CloseRival(transmission, digit, other)
                     : CloseRival(transmission, text, anything),
            0.24);
      Decoding decoding(language);
      const DoubtingSink& sink = decoding.Run(soft);
      EXPECT_EQ(Texts(sink.lines), sent);
      EXPECT_EQ(sink.doubted,
                inHeader ? std::vector<std::string>{sent[0]} : std::vector<std::string>{})
          << inHeader;
    }
  }
}

// The end marker is where a station most often fades or stops: a letter of it read as another
// without a clear lead, or the last one gone with the station, still ends the message, the
// letter put back counted as guessed. A letter read clearly as another leaves the line as read.
TEST(SoftCharacterDecoder, AnEndMarkerMissingALetterStillEndsTheMessage) {
  const auto anything = [](std::string_view) { return true; };
  for (const Language language : {Language::English, Language::Japanese}) {
    const Transmission transmission = Broadcast(language);
    const bool english = language == Language::English;
    const std::size_t width = english ? 1 : 2;
    const std::size_t marker = roundtrip::OffsetOf(transmission, english ? "NNNN" : "\x82\x6d");
    const auto sent = SentTexts(transmission);
    const std::vector<double> clean = SoftOf(transmission);

    for (const double towards : {-0.1, -1.0}) {
      std::vector<double> misread = clean;
      Faint(misread, transmission, CloseRival(transmission, marker + 2 * width, anything), towards);
      Decoding decoding(language);
      const DoubtingSink& sink = decoding.Run(misread);
      const auto got = Texts(sink.lines);
      ASSERT_EQ(got.size(), sent.size()) << testing::PrintToString(got);
      EXPECT_EQ(got.back() == sent.back(), towards > -1.0) << english << " " << towards;
      EXPECT_EQ(sink.doubted.size(), towards > -1.0 ? 1u : 0u) << english << " " << towards;
    }

    // The station gone for good after the third letter: noise over both copies of the last one
    // and after the third's second copy.
    std::vector<double> cut = clean;
    const std::size_t last = marker + 3 * width;
    std::mt19937 random(5);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<std::size_t> lost = CopyBits(transmission, last, Copy::Dx);
    for (std::size_t i = CopyBits(transmission, last - width, Copy::Rx).back() + 1; i < cut.size();
         ++i)
      lost.push_back(i);
    for (const std::size_t i : lost)
      cut[i] = noise(random);
    for (int i = 0; i < 600; ++i)
      cut.push_back(noise(random));
    Decoding decoding(language);
    const DoubtingSink& sink = decoding.Run(cut);
    ASSERT_FALSE(sink.lines.empty());
    EXPECT_EQ(sink.lines.back().text, sent.back()) << english;
    EXPECT_FALSE(sink.lines.back().cut) << english;
  }
}

// The line end before the Japanese end marker lost in a fade (its line feed read clearly as a
// value) pairs the marker one value late, read as "硲裡裡裡" at the end of the line before: that
// text stays a line of its own and the marker is put back, counted as guessed.
TEST(SoftCharacterDecoder, AJapaneseEndMarkerPairedLateAfterItsLostLineEndStillEndsTheMessage) {
  const Transmission transmission = Broadcast(Language::Japanese);
  const std::size_t lineFeed = roundtrip::OffsetOf(transmission, "\r\n\x82\x6d\x82\x6d") + 1;
  std::vector<double> soft = SoftOf(transmission);
  const auto value = testsignal::JapaneseCharacterBits(0x48);
  for (const Copy copy : {Copy::Dx, Copy::Rx}) {
    const auto at = CopyBits(transmission, lineFeed, copy);
    for (std::size_t i = 0; i < at.size(); ++i)
      soft[at[i]] = value[i] == 0 ? Clear : -Clear;
  }
  Decoding decoding(Language::Japanese);
  const DoubtingSink& sink = decoding.Run(soft);
  const auto sent = SentTexts(transmission);
  EXPECT_EQ(Texts(sink.lines), sent);
  EXPECT_EQ(sink.doubted, std::vector<std::string>{sent.back()});

  // The carriage return after it read as a second value too ("量"): all five are the marker's.
  const std::string late = "\x94\xa1\x97\xa1\x97\xa1\x97\xa1\x97\xca";  // 硲裡裡裡量
  const auto repair = RepairEndMarker(late, UnsureBytes(late.size(), Doubt::kSure), false);
  ASSERT_TRUE(repair.has_value());
  EXPECT_EQ(repair->textBytes, 0u);
  EXPECT_EQ(repair->tailBytes, late.size());
}

}  // namespace
}  // namespace seaherald
