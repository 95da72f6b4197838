#pragma once

#include <string>
#include <vector>

#include "msglog/CompletedMessage.h"
#include "relay/NrxSentences.h"

namespace seaherald {

// What an NRX output tells, once, at its first Japanese message.
inline constexpr const char* kJapaneseNotNrx =
    "messages of the Japanese-language service are not sent as NRX sentences (NMEA's character "
    "set cannot carry their text); JSON (--format jsonl) and MQTT carry them";

// Numbers the completed messages of one output and turns each English one into its NRX
// sentences. Messages of the Japanese-language service give none: their full-width text has no
// form in the sentences' character set.
class NrxFeed {
 public:
  explicit NrxFeed(NavtexFrequency frequency) : frequency_(frequency) {}

  // The sentences for a message, each ended by CR LF; empty for a Japanese message. Each cut
  // line ends in "*" instead of the filed "...", and field 11 counts them. The
  // sequential identifier moves on (0 to 99, then 0 again) with every English message.
  std::vector<std::string> SentencesFor(const CompletedMessage& message);

 private:
  NavtexFrequency frequency_;
  int sequence_ = 0;
};

}  // namespace seaherald
