#include "relay/NrxFeed.h"

#include "relay/ReceptionTime.h"

namespace seaherald {

std::vector<std::string> NrxFeed::SentencesFor(const CompletedMessage& message) {
  if (message.lang != 0) return {};
  NrxMessage nrx;
  nrx.header = message.header;
  nrx.frequency = frequency_;
  nrx.utc = ZoneLocalTime(message.received).utc;
  nrx.text = message.body;
  // The decoder cuts a line at the first character it cannot copy: each cut stands for at least
  // one bad character.
  nrx.badCharacters = message.errorCount;
  nrx.valid = message.errorCount == 0;
  nrx.sequence = sequence_;
  sequence_ = (sequence_ + 1) % 100;
  return NrxSentences(nrx);
}

}  // namespace seaherald
