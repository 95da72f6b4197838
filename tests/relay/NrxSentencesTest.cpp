// NRX sentences read back as an instrument reads them: frame, checksum, field count, splitting
// and escapes, and the text put together again.
#include "relay/NrxSentences.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "relay/NrxFeed.h"
#include "tests/relay/NrxParsing.h"

namespace seaherald {
namespace {

using testing::NrxGroup;
using testing::ReassembleNrx;

NrxGroup Reassembled(const std::vector<std::string>& sentences) {
  auto group = ReassembleNrx(sentences);
  if (auto* problem = std::get_if<std::string>(&group)) {
    ADD_FAILURE() << *problem;
    return {};
  }
  return std::get<NrxGroup>(group);
}

NrxMessage Message(std::string text) {
  NrxMessage m;
  m.header = "GA12";
  m.frequency = NavtexFrequency::k490;
  m.utc = {2026, 12, 8, 5, 50, 3};
  m.text = std::move(text);
  m.badCharacters = 2;
  m.valid = false;
  m.sequence = 7;
  return m;
}

TEST(NrxSentences, ChecksumIsTheXorOfTheSentenceBody) {
  EXPECT_EQ(NmeaChecksum("GPGLL,5057.970,N,00146.110,E,142451,A"), "27");
  EXPECT_EQ(NmeaChecksum(""), "00");
}

TEST(NrxSentences, ShortMessageIsOneSentenceWithEveryField) {
  const auto sentences = NrxSentences(Message("SHORT TEXT\r\n"));
  ASSERT_EQ(sentences.size(), 1u);
  const NrxGroup group = Reassembled(sentences);
  EXPECT_EQ(group.sentences, 1);
  EXPECT_EQ(group.sequence, 7);
  EXPECT_EQ(group.header, "GA12");
  EXPECT_EQ(group.frequencyIndex, "1");
  EXPECT_EQ(group.time, "055003");
  EXPECT_EQ(group.day + "/" + group.month + "/" + group.year, "08/12/2026");
  EXPECT_EQ(group.badCharacters, 2);
  EXPECT_EQ(group.status, "V");
  EXPECT_EQ(group.text, "SHORT TEXT\r\n");
  EXPECT_EQ(sentences[0], "$CRNRX,001,001,07,GA12,1,055003,08,12,2026,12,2,V,SHORT TEXT^0D^0A*" +
                              NmeaChecksum("CRNRX,001,001,07,GA12,1,055003,08,12,2026,12,2,V,SHORT "
                                           "TEXT^0D^0A") +
                              "\r\n");
}

// Every byte value, reserved characters and line ends among ordinary text: each sentence stays
// within 82 characters and is filled up to where the next escape would not fit, no escape is
// split, and the pieces give back the text byte for byte.
TEST(NrxSentences, LongTextIsSplitWithoutBreakingEscapesAndComesBackWhole) {
  std::string text;
  for (int round = 0; round < 3; ++round) {
    for (int byte = 0; byte < 256; ++byte) {
      text += static_cast<char>(byte);
      if (byte % 5 == 0) text += "AB";
    }
    text += "NAVAREA $1,*2!\\3^4~5\r\n";
  }
  NrxMessage m = Message(text);
  m.valid = true;
  m.badCharacters = 0;
  const auto sentences = NrxSentences(m);
  ASSERT_GT(sentences.size(), 20u);
  for (std::size_t i = 0; i + 1 < sentences.size(); ++i) {
    EXPECT_LE(sentences[i].size(), kNrxSentenceLimit);
    EXPECT_GE(sentences[i].size(), kNrxSentenceLimit - 2) << "sentence " << i << " not filled";
  }
  const NrxGroup group = Reassembled(sentences);
  EXPECT_EQ(group.text, text);
  EXPECT_EQ(group.status, "A");
  EXPECT_EQ(group.totalCharacters, text.size());
}

TEST(NrxSentences, EscapesCoverReservedAndUnprintableCharactersOnly) {
  EXPECT_EQ(EscapeNmeaText("A$*,!\\^~Z"), "A^24^2A^2C^21^5C^5E^7EZ");
  EXPECT_EQ(EscapeNmeaText(std::string("\r\n\x7F\x80\xFF", 5)), "^0D^0A^7F^80^FF");
  EXPECT_EQ(EscapeNmeaText("PLAIN text 09 ./:;?@[]{}|'\"#%&()+-=<>_`"),
            "PLAIN text 09 ./:;?@[]{}|'\"#%&()+-=<>_`");
}

TEST(NrxSentences, EmptyTextStillGivesOneSentence) {
  const auto sentences = NrxSentences(Message(""));
  ASSERT_EQ(sentences.size(), 1u);
  EXPECT_EQ(Reassembled(sentences).text, "");
}

TEST(NrxSentences, TextBeyondNineHundredNinetyNineSentencesIsCutAndMarkedNotValid) {
  NrxMessage m = Message(std::string(999 * 80, '^'));
  m.valid = true;
  const auto sentences = NrxSentences(m);
  ASSERT_EQ(sentences.size(), 999u);
  const NrxGroup group = Reassembled(sentences);
  EXPECT_EQ(group.status, "V");
  EXPECT_EQ(group.text, std::string(group.totalCharacters, '^'));
  EXPECT_LT(group.totalCharacters, m.text.size());
}

class ZoneGuard {
 public:
  explicit ZoneGuard(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneGuard() {
    if (old_.empty()) {
      unsetenv("TZ");
    } else {
      setenv("TZ", old_.c_str(), 1);
    }
    tzset();
  }

 private:
  std::string old_;
};

CompletedMessage English(int errors, std::string body = "LINE\r\n") {
  return {"GA12", 0, std::move(body), errors, {2026, 1, 1, 3, 0, 0}, FilingOutcome::kWritten};
}

// The feed numbers messages 0-99 and round again, takes the time as UTC and leaves out the
// Japanese service, whose text the sentences cannot carry.
TEST(NrxFeed, NumbersEnglishMessagesInUtcAndSkipsJapaneseOnes) {
  const ZoneGuard zone("JST-9");
  NrxFeed feed(NavtexFrequency::k4209);
  const CompletedMessage japanese{"\x82\x66\x82\x60\x82\x50\x82\x51\x82\x52",
                                  1,
                                  "X\r\n",
                                  0,
                                  {2026, 1, 1, 3, 0, 0},
                                  FilingOutcome::kWritten};
  EXPECT_TRUE(feed.SentencesFor(japanese).empty());
  const NrxGroup first = Reassembled(feed.SentencesFor(English(0)));
  EXPECT_EQ(first.sequence, 0);
  EXPECT_EQ(first.frequencyIndex, "3");
  EXPECT_EQ(first.time, "180000");
  EXPECT_EQ(first.day + "/" + first.month + "/" + first.year, "31/12/2025");
  EXPECT_EQ(first.status, "A");
  for (int i = 1; i < 100; ++i)
    feed.SentencesFor(English(0));
  const NrxGroup wrapped =
      Reassembled(feed.SentencesFor(English(2, "A...\r\nB\r\n...\r\nC... D\r\n")));
  EXPECT_EQ(wrapped.sequence, 0);
  EXPECT_EQ(wrapped.status, "A") << "a message with its end marker is whole, errors or not";
  EXPECT_EQ(wrapped.badCharacters, 2);
  EXPECT_EQ(wrapped.text, "A*\r\nB\r\n*\r\nC... D\r\n");
}

// A received line that itself ends in "..." cannot be told from a cut one: nothing is marked.
TEST(NrxFeed, LeavesTheTextAsFiledWhenCutLinesCannotBeToldApart) {
  NrxFeed feed(NavtexFrequency::k518);
  const std::string body = "SEE ABOVE...\r\nCUT...\r\n";
  const NrxGroup group = Reassembled(feed.SentencesFor(English(1, body)));
  EXPECT_EQ(group.text, body);
  EXPECT_EQ(group.badCharacters, 1);
}

}  // namespace
}  // namespace seaherald
