#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace seaherald::testing {

// A group of NRX sentences read back as a receiving instrument reads it.
struct NrxGroup {
  int sentences = 0;
  int sequence = -1;
  std::string header;
  std::string frequencyIndex;
  std::string time;  // hhmmss, as the published examples write it
  std::string day, month, year;
  std::size_t totalCharacters = 0;
  int badCharacters = 0;
  std::string status;
  std::string text;  // escapes resolved
};

// The fields of one sentence ("CRNRX" first), after checking its frame: "$" first, at most 82
// characters, "*hh" CR LF last with the right checksum, nothing outside 0x20-0x7E inside, and
// "$" and "*" nowhere else. The text of what is wrong otherwise.
std::variant<std::vector<std::string>, std::string> ParseSentence(std::string_view sentence);

// The sentences of one message put together: every frame, the field count, the numbering, the
// sequential identifier, empty fields 4-12 after the first sentence, complete escapes and no
// reserved character left in any text part, and the total character count.
std::variant<NrxGroup, std::string> ReassembleNrx(const std::vector<std::string>& sentences);

// Splits a stream of sentences at CR LF (each keeps its CR LF).
std::vector<std::string> SplitSentences(std::string_view stream);

}  // namespace seaherald::testing
