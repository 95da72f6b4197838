#include "tools/NmeaPrinter.h"

namespace seaherald::decodetool {

void NmeaPrinter::MessageCompleted(const CompletedMessage& message) {
  const std::vector<std::string> sentences = feed_.SentencesFor(message);
  if (beforeWrite_) beforeWrite_();
  if (message.lang != 0 && !toldJapanese_) {
    report_(std::string("--format nmea: ") + kJapaneseNotNrx);
    toldJapanese_ = true;
  }
  for (const std::string& sentence : sentences)
    out_.Put(sentence);
  out_.Flush();
}

}  // namespace seaherald::decodetool
