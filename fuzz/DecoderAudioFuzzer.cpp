// Arbitrary audio through the block handler, one 4410-frame block at a time, as the window feeds
// it: conversion of the left channel, DecodeBlock(0), the per-second clock with its time-out and
// clean-up schedule, the lamp. Settings change between blocks (language, polarity, automatic
// mode, centre frequency 200-1499 Hz); some blocks also go through the second channel slot. A
// second receiver may take the right channel (the left one inverted), switched on and off.
//
// Input: a start record, then block records until the input ends (at most kMaxBlocks).
//   start: byte with bit 0 DecLang, bit 1 DecInv, bit 2 AutoSet, bit 3 AutoLogDelete, bit 4
//     DecSens (the high-sensitivity path), bit 5 control bit 6 switches the path instead of
//     using channel 1, bit 6 a second receiver is added and on (control bit 6 then switches it
//     on and off instead), bit 7 its DecLang2; a byte for TimeOut (1-64 s); a word for the
//     centre frequency, both receivers'.
//   block: control byte, then what its source needs.
//     control bits 0-1, the source of the samples:
//       0 raw: a word n (at most 8820), then n bytes of little-endian 16-bit samples, repeated to
//         fill the block;
//       1 tones: amplitude byte, offset byte (signed Hz from the centre), a word whose low ten
//         bits are the block's ten bits at 100 baud, most significant first (1 = upper tone);
//       2 tones with noise: as 1, then a byte n and n words of noise, repeated over the block;
//       3 constant: a word, the value of every sample.
//     bit 2 toggles DecLang, bit 3 DecInv, bit 4 AutoSet; bit 5 a word with a new centre
//     frequency follows the control byte; bit 6 the block also goes through channel 1; bit 7
//     the block is clipped: amplified eight times and cut at full scale.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <span>
#include <string>

#include "app/Settings.h"
#include "audio/BlockHandler.h"
#include "audio/RecordingClock.h"
#include "decoder/Decoder.h"
#include "decoder/DecoderChannel.h"
#include "decoder/LineSink.h"
#include "fuzz/support/ByteStream.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/LineChecks.h"
#include "fuzz/support/Trace.h"

namespace seaherald::fuzz {
namespace {

constexpr int kMaxBlocks = 200;
constexpr int kMaxBlockBits = 221;  // a rising clock edge needs two samples at 4410 Hz
constexpr std::size_t kBlockSamples = BlockFrames;
constexpr std::size_t kRawBlockBytes = kBlockSamples * 2;
constexpr int kBitsPerBlock = 10;
constexpr int kSamplesPerBit = BlockFrames / kBitsPerBlock;  // 441 at 100 baud
constexpr double kShiftHz = 85.0;
constexpr int kLowestCentre = 200;
constexpr int kHighestCentre = 1499;
constexpr int kClipGain = 8;

enum class Source { Raw = 0, Tones = 1, TonesWithNoise = 2, Constant = 3 };

constexpr std::uint8_t kToggleLang = 0x04;
constexpr std::uint8_t kToggleInv = 0x08;
constexpr std::uint8_t kToggleAuto = 0x10;
constexpr std::uint8_t kNewCentre = 0x20;
constexpr std::uint8_t kSecondChannel = 0x40;
constexpr std::uint8_t kClip = 0x80;

using MonoBlock = std::array<std::int16_t, kBlockSamples>;

std::int16_t Saturated(double value) {
  return static_cast<std::int16_t>(std::clamp(value, -32768.0, 32767.0));
}

double CentreFromWord(std::uint16_t word) {
  return kLowestCentre + word % (kHighestCentre - kLowestCentre + 1);
}

class CheckingSink final : public LineSink {
 public:
  void AddReceivedLine(const std::string& line, bool cut) override {
    Trace(cut ? "cut line" : "line", line);
    FUZZ_CHECK(!line.empty(), "an empty line was handed over");
    FUZZ_CHECK(!HasLineBreak(line), "a handed-over line holds CR or LF");
  }
  // Empty when a repair of misread shifts took back the whole line.
  void ShowLiveLine(const std::string& line) override {
    FUZZ_CHECK(!HasLineBreak(line), "the live line holds CR or LF");
  }
};

class QuietListener final : public BlockHandlerListener {
 public:
  void OnBlockDecoded() override {}
  void ShowClock(const std::string& clockText) override {
    FUZZ_CHECK(clockText.size() == 8, "the clock text is not hh:mm:ss");
  }
  void DiscardMessage() override {}
  void AutoDeleteLogs() override {}
  void SetLamp(bool) override {}
  void OnBlockDone() override {}
};

// Phase-continuous two-tone keying, the way a receiver presents NAVTEX.
class ToneGenerator {
 public:
  void Fill(MonoBlock& block, double centre, double offset, double amplitude, std::uint16_t bits) {
    for (std::size_t i = 0; i < block.size(); ++i) {
      const int bitIndex = static_cast<int>(i) / kSamplesPerBit;
      const bool upper = (bits >> (kBitsPerBlock - 1 - bitIndex)) & 1;
      const double frequency = centre + offset + (upper ? kShiftHz : -kShiftHz);
      phase_ += 2.0 * std::numbers::pi * frequency / DecoderInputRate;
      if (phase_ >= 2.0 * std::numbers::pi) phase_ -= 2.0 * std::numbers::pi;
      block[i] = Saturated(amplitude * std::sin(phase_));
    }
  }

 private:
  double phase_ = 0;
};

class Harness {
 public:
  explicit Harness(ByteReader& input)
      : input_(input),
        clock_({2024, 3, 31, 23, 59, 50}),
        handler_({settings_.DecLang, settings_.DecInv, settings_.AutoSet, centerFrequency_,
                  settings_.DecSens},
                 sink_, settings_, clock_, listener_) {
    const std::uint8_t start = input_.Byte();
    settings_.DecLang = start & 0x01;
    settings_.DecInv = start & 0x02;
    settings_.AutoSet = start & 0x04;
    settings_.AutoLogDelete = start & 0x08;
    settings_.DecSens = start & 0x10;
    switchPaths_ = start & 0x20;
    settings_.TimeOut = input_.IntInRange(1, 64);
    centerFrequency_ = CentreFromWord(input_.Word());
    if (start & 0x40) {
      settings_.Receiver2 = true;
      settings_.DecLang2 = start & 0x80;
      settings_.AutoSet2 = settings_.AutoSet;
      handler_.AddSecondReceiver({settings_.DecLang2, settings_.DecInv2, settings_.AutoSet2,
                                  centerFrequency_, settings_.DecSens2},
                                 sink2_);
    }
  }

  void Run() {
    for (int block = 0; block < kMaxBlocks && !input_.Empty(); ++block) {
      const std::uint8_t control = input_.Byte();
      ApplySettings(control);
      MonoBlock samples{};
      FillBlock(static_cast<Source>(control & 0x03), samples);
      if (control & kClip) Clip(samples);
      const bool second = (control & kSecondChannel) != 0;
      const bool secondReceiver = handler_.Second() != nullptr;
      if (second && secondReceiver) settings_.Receiver2 = !settings_.Receiver2;
      if (second && switchPaths_ && !secondReceiver) settings_.DecSens = !settings_.DecSens;
      ProcessChecked(samples, second && !switchPaths_ && !secondReceiver);
    }
  }

 private:
  void ApplySettings(std::uint8_t control) {
    if (control & kToggleLang) settings_.DecLang = !settings_.DecLang;
    if (control & kToggleInv) settings_.DecInv = !settings_.DecInv;
    if (control & kToggleAuto) settings_.AutoSet = !settings_.AutoSet;
    if (control & kNewCentre) centerFrequency_ = CentreFromWord(input_.Word());
  }

  void FillBlock(Source source, MonoBlock& samples) {
    switch (source) {
      case Source::Raw:
        FillRepeated(samples, input_.Bytes(std::min<std::size_t>(input_.Word(), kRawBlockBytes)));
        break;
      case Source::Tones:
      case Source::TonesWithNoise:
        FillTones(samples);
        if (source == Source::TonesWithNoise) AddNoise(samples);
        break;
      case Source::Constant:
        samples.fill(static_cast<std::int16_t>(input_.Word()));
        break;
    }
  }

  void FillTones(MonoBlock& samples) {
    const double amplitude = input_.Byte() * 128.0;
    const double offset = static_cast<std::int8_t>(input_.Byte());
    tones_.Fill(samples, centerFrequency_, offset, amplitude, input_.Word());
  }

  void AddNoise(MonoBlock& samples) {
    MonoBlock noise{};
    FillRepeated(noise, input_.Bytes(std::size_t{input_.Byte()} * 2));
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = Saturated(static_cast<double>(samples[i]) + noise[i]);
  }

  // Little-endian samples from `bytes`, repeated until the block is full; zeros without any.
  static void FillRepeated(MonoBlock& samples, std::span<const std::uint8_t> bytes) {
    const std::size_t count = bytes.size() / 2;
    if (count == 0) return;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const std::size_t at = (i % count) * 2;
      samples[i] = static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
  }

  static void Clip(MonoBlock& samples) {
    for (std::int16_t& sample : samples)
      sample = Saturated(static_cast<double>(sample) * kClipGain);
  }

  void ProcessChecked(const MonoBlock& samples, bool secondChannel) {
    std::array<std::int16_t, kBlockSamples * 2> stereo{};
    for (std::size_t i = 0; i < samples.size(); ++i) {
      stereo[i * 2] = samples[i];
      stereo[i * 2 + 1] = static_cast<std::int16_t>(~samples[i]);  // the second receiver's
    }
    const bool autoSet = settings_.AutoSet;
    const bool lang = settings_.DecLang;
    const bool inv = settings_.DecInv;
    const bool autoSet2 = settings_.AutoSet2;
    const bool lang2 = settings_.DecLang2;
    const bool inv2 = settings_.DecInv2;
    handler_.ProcessBlock(stereo);
    clock_.CountBlock();
    CheckChannel(handler_.GetDecoder(), 0);
    FUZZ_CHECK(autoSet || (lang == settings_.DecLang && inv == settings_.DecInv),
               "language or polarity changed with automatic mode off");
    CheckOutputs();
    if (handler_.Second() != nullptr) {
      CheckChannel(handler_.Second()->GetDecoder(), 0);
      FUZZ_CHECK(autoSet2 || (lang2 == settings_.DecLang2 && inv2 == settings_.DecInv2),
                 "the second receiver's language or polarity changed with automatic mode off");
      FUZZ_CHECK(
          handler_.SecondReceiverOn() || (lang2 == settings_.DecLang2 && inv2 == settings_.DecInv2),
          "the second receiver changed its language or polarity while off");
    }
    if (secondChannel) {
      Decoder& decoder = handler_.GetDecoder();
      std::copy(samples.begin(), samples.end(), decoder.SampleBlock(1).begin());
      decoder.DecodeBlock(1);
      CheckChannel(decoder, 1);
    }
  }

  static void CheckChannel(const Decoder& decoder, int channel) {
    const int bitCount = decoder.BlockBitCount(channel);
    FUZZ_CHECK(bitCount >= 0 && bitCount <= kMaxBlockBits, "bit count of a block out of range");
    for (const std::uint8_t bit : decoder.BlockBits(channel))
      FUZZ_CHECK(bit <= 1, "a bit is neither 0 nor 1");
    for (const double error : decoder.BitErrorHz(channel))
      FUZZ_CHECK(std::isfinite(error), "a bit's frequency error is not finite");
    for (const double deviation : decoder.Deviation(channel))
      FUZZ_CHECK(std::isfinite(deviation), "a deviation is not finite");
    const std::string& line = decoder.Line(channel);
    FUZZ_CHECK(!HasLineBreak(line), "the line holds CR or LF");
    FUZZ_CHECK(decoder.CharSync(channel) || line.empty(), "the line is not empty while searching");
    FUZZ_CHECK(decoder.PairBitCounter(channel) >= 0 && decoder.PairBitCounter(channel) < 20,
               "pair bit counter out of range");
  }

  void CheckOutputs() const {
    const Decoder& decoder = handler_.GetDecoder();
    FUZZ_CHECK(std::isfinite(decoder.TuningOffset()) && std::isfinite(decoder.ResonatorPeak()),
               "tuning offset or resonator peak not finite");
    for (const double sample : decoder.DisplaySamples())
      FUZZ_CHECK(std::isfinite(sample), "a display sample is not finite");
    if (decoder.Channel(0).SensitivePath()) {
      CheckSensitiveOutputs();
    } else {
      CheckStandardOutputs();
    }
    const ReceptionIndicators& indicators = handler_.Indicators();
    FUZZ_CHECK(indicators.LedCount >= 0 && indicators.IdleSeconds >= 0,
               "a reception indicator went negative");
    FUZZ_CHECK(indicators.IdleSeconds <= settings_.TimeOut + 1,
               "idle seconds ran past the time-out");
  }

  void CheckStandardOutputs() const {
    const Decoder& decoder = handler_.GetDecoder();
    FUZZ_CHECK(decoder.BlockBitCount(0) > 0 || decoder.TuningOffset() == 0.0,
               "a block without bits has a tuning offset");
    FUZZ_CHECK(decoder.ResonatorPeak() * 10000 > 0.1 || decoder.TuningOffset() == 0.0,
               "a block without a bit clock has a tuning offset");
  }

  void CheckSensitiveOutputs() const {
    const Decoder& decoder = handler_.GetDecoder();
    const SoftDemodulator& demodulator = decoder.Channel(0).SoftDemod();
    FUZZ_CHECK(demodulator.SoftBits().size() <= SoftDemodulator::MaxBlockBits,
               "too many soft bits in a block");
    for (const double soft : demodulator.SoftBits())
      FUZZ_CHECK(std::isfinite(soft), "a soft bit is not finite");
    FUZZ_CHECK(std::abs(demodulator.FrequencyOffsetHz()) <= SoftDemodulator::MaxFrequencyOffsetHz,
               "the frequency loop left its range");
    FUZZ_CHECK(std::abs(decoder.TuningOffset()) <= SoftDemodulator::MaxFrequencyOffsetHz,
               "the tuning offset left the loop's range");
    const double rate = demodulator.SamplesPerBit() / SoftDemodulator::NominalSamplesPerBit;
    FUZZ_CHECK(rate >= 0.99 - 1e-9 && rate <= 1.01 + 1e-9, "the bit clock left its range");
  }

  ByteReader& input_;
  Settings settings_;
  double centerFrequency_ = 800.0;
  RecordingClock clock_;
  CheckingSink sink_;
  CheckingSink sink2_;
  QuietListener listener_;
  BlockHandler handler_;
  ToneGenerator tones_;
  bool switchPaths_ = false;  // control bit 6 switches the receive path
};

}  // namespace
}  // namespace seaherald::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  seaherald::fuzz::ByteReader input({data, size});
  seaherald::fuzz::Harness harness(input);
  harness.Run();
  return 0;
}
