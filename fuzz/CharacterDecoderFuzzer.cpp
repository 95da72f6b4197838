// Arbitrary bit streams straight into the character decoder, in both languages and polarities,
// with the settings changed between runs of bits as the settings dialog or automatic mode would.
//
// Input: records until the input ends.
//   control byte: bit 0 DecLang (English), bit 1 DecInv, bit 2 AutoSet, taken only when bit 3 is
//     set (otherwise the decoder's own automatic choices stay); bit 4 starts a new second for the
//     reception indicators; bit 5 gives each following byte as one bit value, as is (any
//     non-zero value is a 1), instead of eight bits per byte.
//   count byte n, then n bytes of bits, most significant bit first.
//
// After every bit the harness checks what must hold whatever the bits are.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "decoder/CharacterDecoder.h"
#include "decoder/DecoderSettings.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"
#include "fuzz/support/ByteStream.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/LineChecks.h"
#include "fuzz/support/Trace.h"

namespace seaherald::fuzz {
namespace {

constexpr int kMaxPairBitCounter = CharacterDecoder::JapanesePairBits - 1;
constexpr std::uint8_t kLangBit = 0x01;
constexpr std::uint8_t kInvBit = 0x02;
constexpr std::uint8_t kAutoBit = 0x04;
constexpr std::uint8_t kApplySettingsBit = 0x08;
constexpr std::uint8_t kNewSecondBit = 0x10;
constexpr std::uint8_t kByteBitsBit = 0x20;

// Sees every line handed over and every live-line update of one bit.
class CheckingSink final : public LineSink {
 public:
  // The line as it stood before the bit: a line handed over must be exactly it.
  void BeginBit(const std::string& lineBefore) {
    lineBefore_ = &lineBefore;
    linesThisBit_ = 0;
    liveUpdatesThisBit_ = 0;
  }
  int LinesThisBit() const { return linesThisBit_; }
  int LiveUpdatesThisBit() const { return liveUpdatesThisBit_; }
  const std::string& LastLive() const { return lastLive_; }

  void AddReceivedLine(const std::string& line, bool cut) override {
    Trace(cut ? "cut line" : "line", line);
    ++linesThisBit_;
    FUZZ_CHECK(!line.empty(), "an empty line was handed over");
    FUZZ_CHECK(!HasLineBreak(line), "a handed-over line holds CR or LF");
    FUZZ_CHECK(lineBefore_ != nullptr && line == *lineBefore_,
               "the handed-over line is not the line that was being received");
  }
  void ShowLiveLine(const std::string& line) override {
    ++liveUpdatesThisBit_;
    lastLive_ = line;
  }

 private:
  const std::string* lineBefore_ = nullptr;
  int linesThisBit_ = 0;
  int liveUpdatesThisBit_ = 0;
  std::string lastLive_;
};

class Harness {
 public:
  Harness() : decoder_({decLang_, decInv_, autoSet_, centerFrequency_}, indicators_, sink_) {}

  void Run(ByteReader& input) {
    while (!input.Empty()) {
      const std::uint8_t control = input.Byte();
      ApplyControl(control);
      const std::span<const std::uint8_t> bytes = input.Bytes(input.Byte());
      for (const std::uint8_t byte : bytes) {
        if (control & kByteBitsBit) {
          TakeCheckedBit(byte);
          continue;
        }
        for (int shift = 7; shift >= 0; --shift)
          TakeCheckedBit(static_cast<std::uint8_t>((byte >> shift) & 1));
      }
    }
  }

 private:
  void ApplyControl(std::uint8_t control) {
    if (control & kApplySettingsBit) {
      decLang_ = (control & kLangBit) != 0;
      decInv_ = (control & kInvBit) != 0;
      autoSet_ = (control & kAutoBit) != 0;
    }
    if (control & kNewSecondBit) indicators_.CharSeenThisSecond = false;
  }

  void TakeCheckedBit(std::uint8_t bit) {
    const std::string before = decoder_.Line();
    const bool syncBefore = decoder_.CharSync();
    const bool englishBefore = decLang_;
    const bool invBefore = decInv_;
    // Values the decoder never writes itself, so that its writes show.
    indicators_.LedCount = 1000;
    indicators_.IdleSeconds = 1000;
    sink_.BeginBit(before);

    decoder_.TakeBit(bit);

    const std::string& after = decoder_.Line();
    FUZZ_CHECK(!HasLineBreak(after), "the line holds CR or LF");
    FUZZ_CHECK(decoder_.CharSync() || after.empty(), "the line is not empty while searching");
    FUZZ_CHECK(decoder_.PairBitCounter() >= 0 && decoder_.PairBitCounter() <= kMaxPairBitCounter,
               "pair bit counter out of range");
    FUZZ_CHECK(decoder_.Codes().ShiftState() == 0 || decoder_.Codes().ShiftState() == 1,
               "shift state out of range");
    FUZZ_CHECK(decoder_.Codes().JisCount() == 0 || decoder_.Codes().JisCount() == 1,
               "JIS count out of range");
    FUZZ_CHECK(autoSet_ || (decLang_ == englishBefore && decInv_ == invBefore),
               "language or polarity changed with automatic mode off");
    FUZZ_CHECK(decLang_ == englishBefore || before.empty() || after.empty(),
               "the language changed while a line was kept");
    FUZZ_CHECK(!decoder_.CharSync() || indicators_.CharSeenThisSecond,
               "sync held but the second was not marked as seen");
    FUZZ_CHECK(!syncBefore || indicators_.LedCount == 0, "a bit in sync did not reset the lamp");
    FUZZ_CHECK(!syncBefore || englishBefore || indicators_.IdleSeconds == 0,
               "a Japanese bit in sync did not reset the idle seconds");
    FUZZ_CHECK(sink_.LinesThisBit() <= 1, "more than one line handed over for one bit");
    FUZZ_CHECK(sink_.LinesThisBit() == 0 || after.empty(), "a handed-over line was kept");
    CheckGrowth(before, after, englishBefore);
  }

  // A line changes by one whole character, or ends, or stays.
  void CheckGrowth(const std::string& before, const std::string& after, bool english) {
    if (after.empty()) {
      singleByteInLine_ = false;
      return;
    }
    if (after == before) {
      FUZZ_CHECK(sink_.LiveUpdatesThisBit() == 0, "the live line was shown without a change");
      return;
    }
    FUZZ_CHECK(after.starts_with(before), "the line changed other than at its end");
    const std::string_view added = std::string_view(after).substr(before.size());
    FUZZ_CHECK(sink_.LiveUpdatesThisBit() == 1 && sink_.LastLive() == after,
               "a grown line was not shown exactly once, whole");
    if (english) {
      FUZZ_CHECK(added.size() == 1 && IsPrintableAscii(added[0]),
                 "an English character is not one printable byte");
      singleByteInLine_ = true;
    } else {
      FUZZ_CHECK(added.size() == 2 && IsJisPairResult(added),
                 "a Japanese character is not two bytes of the JIS conversion");
    }
    FUZZ_CHECK(english || singleByteInLine_ || after.size() % 2 == 0,
               "a Japanese line has an odd length");
  }

  bool decLang_ = false;
  bool decInv_ = false;
  bool autoSet_ = true;
  double centerFrequency_ = 800.0;
  ReceptionIndicators indicators_;
  CheckingSink sink_;
  CharacterDecoder decoder_;
  // A line begun in English mode may go on in Japanese mode after a manual switch.
  bool singleByteInLine_ = false;
};

}  // namespace
}  // namespace seaherald::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  seaherald::fuzz::ByteReader input({data, size});
  seaherald::fuzz::Harness harness;
  harness.Run(input);
  return 0;
}
