#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "decoder/Decoder.h"
#include "decoder/LineSink.h"
#include "decoder/ReceptionIndicators.h"

namespace seaherald::roundtrip {

struct ReceivedLine {
  std::string text;  // Shift-JIS
  bool cut = false;
  bool operator==(const ReceivedLine&) const = default;
};

void PrintTo(const ReceivedLine& line, std::ostream* out);

struct ReceiverSetup {
  bool english = false;  // starting language (the settings default is Japanese)
  bool inverted = false;
  bool autoSet = true;
  double centerHz = 800;
  bool sensitive = false;  // the high-sensitivity receive path
};

// The receiver's block path in a test: mono audio goes into the left channel of 4410-frame stereo
// blocks (the right channel carries a different signal the decoder must ignore), each block is
// converted into channel 0's sample block and decoded, and every handed-over line is recorded.
class Receiver : private LineSink {
 public:
  explicit Receiver(const ReceiverSetup& setup);

  // Feeds whole blocks; a partial block at the end is filled up with silence.
  void Feed(std::span<const std::int16_t> mono);

  const std::vector<ReceivedLine>& Lines() const { return lines_; }
  // The receive path for the blocks that follow, as the settings dialog chooses it.
  void SetSensitive(bool sensitive) { sensitive_ = sensitive; }
  const Decoder& decoder() const { return decoder_; }
  bool English() const { return decLang_; }
  bool Inverted() const { return decInv_; }

 private:
  void AddReceivedLine(const std::string& line, bool cut) override;
  void ShowLiveLine(const std::string& line) override;
  void DecodeOneBlock(std::span<const std::int16_t> mono);

  bool decLang_;
  bool decInv_;
  bool autoSet_;
  double centerFrequency_;
  bool sensitive_;
  ReceptionIndicators indicators_;
  std::vector<ReceivedLine> lines_;
  Decoder decoder_;
};

std::vector<ReceivedLine> DecodeAudio(std::span<const std::int16_t> mono,
                                      const ReceiverSetup& setup);

// Shift-JIS lines written as UTF-8 literals, all uncut unless marked.
ReceivedLine JapaneseLine(const char* utf8, bool cut = false);

}  // namespace seaherald::roundtrip
