#include "tests/roundtrip/Messages.h"

#include <stdexcept>

#include "tests/support/ShiftJisText.h"

namespace seaherald::roundtrip {

testsignal::Transmission EnglishBroadcast(std::string_view text) {
  testsignal::Transmission transmission;
  transmission.language = testsignal::Language::English;
  transmission.text = std::string(text);
  return transmission;
}

testsignal::Transmission JapaneseBroadcast(std::string_view utf8) {
  testsignal::Transmission transmission;
  transmission.language = testsignal::Language::Japanese;
  transmission.text = testsignal::Utf8ToShiftJis(utf8);
  return transmission;
}

std::vector<ReceivedLine> LinesOf(std::string_view text) {
  std::vector<ReceivedLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    if (stop > start) lines.push_back({std::string(text.substr(start, stop - start)), false});
    start = stop + 2;
  }
  return lines;
}

std::vector<ReceivedLine> LinesOf(const testsignal::Transmission& transmission) {
  return LinesOf(transmission.text);
}

std::vector<std::int16_t> AudioOf(std::span<const testsignal::Transmission> transmissions,
                                  const testsignal::SignalOptions& options) {
  return testsignal::ToPcm16(testsignal::Modulate(transmissions, options));
}

std::vector<std::int16_t> AudioOf(const testsignal::Transmission& transmission,
                                  const testsignal::SignalOptions& options) {
  return AudioOf(std::span(&transmission, 1), options);
}

std::size_t OffsetOf(const testsignal::Transmission& transmission, std::string_view what,
                     int occurrence) {
  std::size_t offset = transmission.text.find(what);
  for (int i = 0; i < occurrence && offset != std::string::npos; ++i) {
    offset = transmission.text.find(what, offset + 1);
  }
  if (offset == std::string::npos) throw std::invalid_argument("text not in the message");
  return offset;
}

}  // namespace seaherald::roundtrip
