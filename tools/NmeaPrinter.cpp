#include "tools/NmeaPrinter.h"

namespace seaherald::decodetool {

void NmeaPrinter::MessageCompleted(const CompletedMessage& message) {
  for (const std::string& sentence : feed_.SentencesFor(message))
    std::fwrite(sentence.data(), 1, sentence.size(), out_);
  std::fflush(out_);
}

}  // namespace seaherald::decodetool
