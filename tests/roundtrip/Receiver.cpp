#include "tests/roundtrip/Receiver.h"

#include <algorithm>
#include <array>

#include "audio/SampleConversion.h"
#include "tests/support/ShiftJisText.h"

namespace seaherald::roundtrip {

void PrintTo(const ReceivedLine& line, std::ostream* out) {
  std::string shown;
  try {
    shown = testsignal::ShiftJisToUtf8(line.text);
  } catch (const std::exception&) {
    shown = line.text;
  }
  *out << '"' << shown << '"' << (line.cut ? " (cut)" : "");
}

Receiver::Receiver(const ReceiverSetup& setup)
    : decLang_(setup.english),
      decInv_(setup.inverted),
      autoSet_(setup.autoSet),
      centerFrequency_(setup.centerHz),
      sensitive_(setup.sensitive),
      decoder_(DecoderSettings{decLang_, decInv_, autoSet_, centerFrequency_, sensitive_},
               indicators_, *this) {}

void Receiver::Feed(std::span<const std::int16_t> mono) {
  for (std::size_t start = 0; start < mono.size(); start += BlockFrames) {
    const std::size_t count = std::min<std::size_t>(BlockFrames, mono.size() - start);
    DecodeOneBlock(mono.subspan(start, count));
  }
}

void Receiver::DecodeOneBlock(std::span<const std::int16_t> mono) {
  std::array<std::int16_t, BlockFrames * 2> stereo{};
  for (std::size_t frame = 0; frame < mono.size(); ++frame) {
    stereo[frame * 2] = mono[frame];
    stereo[frame * 2 + 1] = static_cast<std::int16_t>(frame % 2 == 0 ? 12000 : -12000);
  }
  ConvertLeftChannel(stereo, decoder_.SampleBlock(0));
  decoder_.DecodeBlock(0);
}

void Receiver::AddReceivedLine(const std::string& line, bool cut) {
  lines_.push_back({line, cut});
}

void Receiver::ShowLiveLine(const std::string&) {}

std::vector<ReceivedLine> DecodeAudio(std::span<const std::int16_t> mono,
                                      const ReceiverSetup& setup) {
  Receiver receiver(setup);
  receiver.Feed(mono);
  return receiver.Lines();
}

ReceivedLine JapaneseLine(const char* utf8, bool cut) {
  return {testsignal::Utf8ToShiftJis(utf8), cut};
}

}  // namespace seaherald::roundtrip
