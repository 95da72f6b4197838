#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "tests/decoder/DemodulatorHarness.h"
#include "tests/decoder/FskTestSignal.h"
#include "tests/decoder/ReferenceDemodulator.h"

namespace seaherald {
namespace {

// Bitwise identity, so that even the sign of a zero counts.
void ExpectIdentical(std::span<const double> fast, std::span<const double> reference,
                     const char* what, int block) {
  ASSERT_EQ(fast.size(), reference.size()) << what << " in block " << block;
  for (std::size_t i = 0; i < fast.size(); ++i) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(fast[i]), std::bit_cast<std::uint64_t>(reference[i]))
        << what << "[" << i << "] in block " << block << ": " << fast[i] << " vs " << reference[i];
  }
}

struct Segment {
  std::vector<double> audio;  // a whole number of blocks
  double centerFrequency;
};

std::vector<Segment> VariedSignals() {
  std::vector<Segment> segments;
  std::mt19937 random(42);
  std::uniform_real_distribution<double> uniform(-32768, 32767);
  auto noise = [&](int blocks, double scale) {
    std::vector<double> audio(std::size_t(blocks) * BlockFrames);
    for (double& x : audio)
      x = std::round(uniform(random) * scale);
    return audio;
  };
  auto bits = [&](std::size_t count) {
    test::Bits b(count);
    for (auto& bit : b)
      bit = static_cast<std::uint8_t>(random() & 1);
    return b;
  };
  auto fsk = [&](int blocks, double centre, double offset, double noiseLevel) {
    test::FskOptions options;
    options.centerHz = centre;
    options.offsetHz = offset;
    options.noiseStdDev = noiseLevel;
    options.leadInSamples = 123;
    std::vector<double> audio = test::FskAudio(bits(std::size_t(blocks) * 10 + 2), options);
    audio.resize(std::size_t(blocks) * BlockFrames);
    return audio;
  };
  segments.push_back({std::vector<double>(2 * BlockFrames, 0.0), 800});  // start-up on silence
  segments.push_back({noise(3, 1.0), 800});
  segments.push_back({fsk(12, 800, 0, 0), 800});
  segments.push_back({fsk(6, 800, 0, 0), 650});  // centre changes mid-stream
  segments.push_back({fsk(8, 500, 4, 1500), 500});
  segments.push_back({std::vector<double>(2 * BlockFrames, 0.0), 500});
  std::vector<double> square(3 * BlockFrames);
  for (std::size_t i = 0; i < square.size(); ++i)
    square[i] = (i / 30) % 2 ? 32767.0 : -32768.0;
  segments.push_back({square, 1000});
  segments.push_back({fsk(10, 1000, -6, 8000), 1000});
  segments.push_back({noise(2, 0.001), 200});
  segments.push_back({fsk(6, 200, 0, 0), 200});
  segments.push_back({fsk(3, 1600, 0, 0), 1600});  // mixer running backwards
  segments.push_back({fsk(4, 800, 0, 300), 800});
  return segments;
}

TEST(DemodulatorEquivalence, BitIdenticalToThePlainEvaluation) {
  test::DemodulatorHarness fast;
  test::ReferenceDemodulator reference;
  int block = 0;
  for (const Segment& segment : VariedSignals()) {
    fast.centerFrequency = segment.centerFrequency;
    for (std::size_t offset = 0; offset < segment.audio.size(); offset += BlockFrames, ++block) {
      fast.Block(segment.audio, offset);
      reference.Demodulate(
          std::span<const double, BlockFrames>(segment.audio.data() + offset, BlockFrames),
          segment.centerFrequency);
      const Demodulator& d = fast.demodulator;
      ExpectIdentical(std::span<const double>(fast.block.data(), DecimatedBlockSamples),
                      reference.decimated, "decimated", block);
      ExpectIdentical(fast.outputs.DisplaySamples, reference.displaySamples, "DisplaySamples",
                      block);
      ExpectIdentical(d.Deviation(), reference.deviation, "Deviation", block);
      ASSERT_EQ(std::vector<std::uint8_t>(d.BlockBits().begin(), d.BlockBits().end()),
                reference.bits)
          << "block " << block;
      ExpectIdentical(d.BitErrorHz(), reference.bitErrorHz, "BitErrorHz", block);
      const double fastScalars[] = {fast.outputs.TuningOffset, fast.outputs.ResonatorPeak,
                                    d.MixerPhase(), d.LastPhase()};
      const double referenceScalars[] = {reference.tuningOffset, reference.resonatorPeak,
                                         reference.mixerPhase, reference.lastPhase};
      ExpectIdentical(fastScalars, referenceScalars, "TuningOffset/Peak/MixerPhase/LastPhase",
                      block);
    }
  }
  EXPECT_GT(block, 60);
}

}  // namespace
}  // namespace seaherald
