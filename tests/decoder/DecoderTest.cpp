#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

#include "decoder/Decoder.h"
#include "tests/decoder/CharacterHarness.h"
#include "tests/decoder/FskTestSignal.h"
#include "tests/decoder/RecordingSink.h"

namespace seaherald {
namespace {

using test::Bits;
using test::ReceivedLine;

// The caller's side: the settings record, the indicators and the line receiver.
struct DecoderHarness {
  bool decLang = false;
  bool decInv = false;
  bool autoSet = true;
  double centerFrequency = 800;
  ReceptionIndicators indicators;
  test::RecordingSink sink;
  Decoder decoder{DecoderSettings{decLang, decInv, autoSet, centerFrequency}, indicators, sink};

  void Decode(const std::vector<double>& audio, int channel = 0) {
    for (std::size_t offset = 0; offset < audio.size(); offset += BlockFrames) {
      std::span<double, BlockFrames> block = decoder.SampleBlock(channel);
      std::fill(block.begin(), block.end(), 0.0);
      const std::size_t count = std::min<std::size_t>(BlockFrames, audio.size() - offset);
      std::copy_n(audio.begin() + static_cast<std::ptrdiff_t>(offset), count, block.begin());
      decoder.DecodeBlock(channel);
    }
  }
};

std::vector<double> Audio(const Bits& bits, double centre, double noise = 0) {
  test::FskOptions options;
  options.centerHz = centre;
  options.noiseStdDev = noise;
  options.leadInSamples = 1234;
  std::vector<double> audio = test::FskAudio(bits, options);
  // The filters hold back about a dozen bits; silence after the signal lets them out.
  audio.resize(audio.size() + 3 * BlockFrames, 0.0);
  return audio;
}

TEST(Decoder, RejectsChannelsOtherThanZeroAndOne) {
  DecoderHarness h;
  EXPECT_THROW(h.decoder.SampleBlock(2), std::out_of_range);
  EXPECT_THROW(h.decoder.DecodeBlock(-1), std::out_of_range);
  EXPECT_THROW(h.decoder.Line(7), std::out_of_range);
  EXPECT_NO_THROW(h.decoder.DecodeBlock(1));
}

TEST(Decoder, EnglishAudioBecomesLinesAndTheModeIsWrittenBack) {
  DecoderHarness h;
  const Bits bits =
      test::EnglishTransmission(test::EnglishCodes("ZCZC NA01\nSEAHERALD TEST 1234\nNNNN\n"), 30);
  h.Decode(Audio(bits, 800, 1500));
  const std::vector<ReceivedLine> expected = {
      {"ZCZC NA01", false}, {"SEAHERALD TEST 1234", false}, {"NNNN", false}};
  EXPECT_EQ(h.sink.lines, expected);
  EXPECT_TRUE(h.decLang);
  EXPECT_TRUE(h.decoder.DecLang(0));
  EXPECT_FALSE(h.decoder.DecLang(1));
}

TEST(Decoder, InvertedJapaneseAudioSetsLanguageAndPolarity) {
  DecoderHarness h;
  h.decLang = true;
  h.centerFrequency = 500;
  const Bits bits = test::JapaneseTransmission({35, 78, 33, 33, 10}, 25, true);
  h.Decode(Audio(bits, 500));
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"\x82\x6D\x81\x40", false}}));
  EXPECT_FALSE(h.decLang);
  EXPECT_TRUE(h.decInv);
}

TEST(Decoder, SecondChannelKeepsItsOwnLanguageAndPolarity) {
  DecoderHarness h;
  const Bits bits = test::EnglishTransmission(test::EnglishCodes("NNNN\n"), 30, true);
  h.Decode(Audio(bits, 800), 1);
  EXPECT_EQ(h.sink.lines, (std::vector<ReceivedLine>{{"NNNN", false}}));
  EXPECT_TRUE(h.decoder.DecLang(1));
  EXPECT_TRUE(h.decoder.DecInv(1));
  EXPECT_FALSE(h.decLang);
  EXPECT_FALSE(h.decInv);
  EXPECT_FALSE(h.decoder.CharSync(0));
}

TEST(Decoder, SyncResetsTheLampCountInTheBlockWhereItHeld) {
  DecoderHarness h;
  const Bits bits = test::EnglishTransmission({}, 60);
  const std::vector<double> audio = Audio(bits, 800);
  std::vector<double> firstHalf(audio.begin(), audio.begin() + 40 * BlockFrames);
  h.Decode(firstHalf);
  ASSERT_TRUE(h.decoder.CharSync(0));
  h.indicators.LedCount = 4;
  h.indicators.CharSeenThisSecond = false;
  h.Decode(std::vector<double>(audio.begin() + 40 * BlockFrames, audio.begin() + 41 * BlockFrames));
  EXPECT_EQ(h.indicators.LedCount, 0);
  EXPECT_TRUE(h.indicators.CharSeenThisSecond);
  EXPECT_EQ(h.decoder.BlockBitCount(0), 10);
  EXPECT_EQ(h.decoder.BlockBits(0).size(), 10u);
  EXPECT_EQ(h.decoder.BitErrorHz(0).size(), 10u);
}

// Chance agreements in noise can give a moment of sync, but never more than a character.
TEST(Decoder, NoiseAloneGivesNoText) {
  for (bool english : {false, true}) {
    DecoderHarness h;
    h.decLang = english;
    std::vector<double> noise(std::size_t(100) * BlockFrames);
    std::mt19937 random(5);
    std::normal_distribution<double> gauss(0, 3000);
    for (double& x : noise)
      x = std::round(gauss(random));
    h.Decode(noise);
    for (const ReceivedLine& line : h.sink.lines)
      EXPECT_LE(line.text.size(), 2u) << english;
  }
}

}  // namespace
}  // namespace seaherald
