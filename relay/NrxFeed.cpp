#include "relay/NrxFeed.h"

#include "relay/ReceptionTime.h"

namespace seaherald {
namespace {

constexpr std::string_view kCutMark = "...\r\n";
constexpr std::string_view kBadCharacterMark = "*\r\n";

// The body with the filed cut mark of each cut line replaced by one "*", the mark receivers
// print for a character they could not read; a cut loses at least one. When the lines ending in
// "..." are not exactly the cut ones (a received line may end so), the text stays as filed.
std::string MarkBadCharacters(const std::string& body, int cutLines) {
  std::string marked;
  int marks = 0;
  std::size_t start = 0;
  while (start < body.size()) {
    std::size_t end = body.find("\r\n", start);
    end = end == std::string::npos ? body.size() : end + 2;
    const std::string_view line(body.data() + start, end - start);
    if (line.ends_with(kCutMark)) {
      marked.append(line.substr(0, line.size() - kCutMark.size())).append(kBadCharacterMark);
      ++marks;
    } else {
      marked.append(line);
    }
    start = end;
  }
  return marks == cutLines ? marked : body;
}

}  // namespace

std::vector<std::string> NrxFeed::SentencesFor(const CompletedMessage& message) {
  if (message.lang != 0) return {};
  NrxMessage nrx;
  nrx.header = message.header;
  // Of two receivers, the one that received it names its own frequency.
  nrx.frequency = message.frequencyKhz
                      ? FrequencyOfKilohertz(*message.frequencyKhz).value_or(frequency_)
                      : frequency_;
  nrx.utc = ZoneLocalTime(message.received).utc;
  nrx.text = MarkBadCharacters(message.body, message.errorCount);
  nrx.badCharacters = message.errorCount;
  nrx.valid = true;  // it came with its end marker
  nrx.sequence = sequence_;
  sequence_ = (sequence_ + 1) % 100;
  return NrxSentences(nrx);
}

}  // namespace seaherald
