#include "tools/NmeaPrinter.h"

namespace seaherald::decodetool {

void NmeaPrinter::MessageCompleted(const CompletedMessage& message) {
  const std::vector<std::string> sentences = feed_.SentencesFor(message);
  if (sentences.empty()) return;
  if (beforeWrite_) beforeWrite_();
  for (const std::string& sentence : sentences)
    out_.Put(sentence);
  out_.Flush();
}

}  // namespace seaherald::decodetool
