#include "tests/relay/NrxParsing.h"

#include <cstdio>
#include <cstdlib>

namespace seaherald::testing {
namespace {

constexpr std::size_t kFieldCount = 14;  // the address and 13 data fields
constexpr std::string_view kReserved = "$*,!\\^~\r\n";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<std::string> SplitFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    fields.emplace_back(text.substr(start, comma - start));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

// Appends the text field with its escapes resolved; the problem when an escape is broken or a
// reserved character stands unescaped, else empty.
std::string Unescape(std::string_view field, std::string& text) {
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '^') {
      if (kReserved.find(field[i]) != std::string_view::npos)
        return "reserved character unescaped in the text";
      text += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return "escape cut off at the end of a sentence";
    const int high = HexDigit(field[i + 1]);
    const int low = HexDigit(field[i + 2]);
    if (high < 0 || low < 0) return "escape without two hex digits";
    text += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return {};
}

}  // namespace

std::variant<std::vector<std::string>, std::string> ParseSentence(std::string_view sentence) {
  if (sentence.size() > 82) return "longer than 82 characters: " + std::string(sentence);
  if (sentence.size() < 9 || sentence[0] != '$' || !sentence.ends_with("\r\n"))
    return "no sentence frame: " + std::string(sentence);
  const std::string_view inner = sentence.substr(1, sentence.size() - 3);
  const std::size_t star = inner.size() - 3;
  if (inner[star] != '*') return std::string("no checksum");
  const std::string_view body = inner.substr(0, star);
  unsigned sum = 0;
  for (const char c : body) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E || c == '$' || c == '*')
      return "character " + std::to_string(u) + " inside the sentence";
    sum ^= u;
  }
  char expected[3];
  std::snprintf(expected, sizeof expected, "%02X", sum);
  if (inner.substr(star + 1) != expected) return "wrong checksum: " + std::string(sentence);
  return SplitFields(body);
}

std::variant<NrxGroup, std::string> ReassembleNrx(const std::vector<std::string>& sentences) {
  if (sentences.empty()) return std::string("no sentences");
  NrxGroup group;
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    auto parsed = ParseSentence(sentences[i]);
    if (auto* problem = std::get_if<std::string>(&parsed)) return *problem;
    const auto& f = std::get<std::vector<std::string>>(parsed);
    if (f.size() != kFieldCount) return "field count " + std::to_string(f.size());
    if (f[0] != "CRNRX") return "address " + f[0];
    if (f[1].size() != 3 || f[2].size() != 3 || f[3].size() != 2)
      return std::string("count fields not of 3, 3 and 2 digits");
    const int count = std::atoi(f[1].c_str());
    const int number = std::atoi(f[2].c_str());
    const int sequence = std::atoi(f[3].c_str());
    if (i == 0) {
      group.sentences = count;
      group.sequence = sequence;
      group.header = f[4];
      group.frequencyIndex = f[5];
      group.time = f[6];
      if (group.time.size() != 6 || group.time.find_first_not_of("0123456789") != std::string::npos)
        return "time '" + group.time + "' is not hhmmss";
      group.day = f[7];
      group.month = f[8];
      group.year = f[9];
      group.totalCharacters = std::strtoul(f[10].c_str(), nullptr, 10);
      group.badCharacters = std::atoi(f[11].c_str());
      group.status = f[12];
    } else {
      for (std::size_t k = 4; k <= 12; ++k) {
        if (!f[k].empty()) return "field " + std::to_string(k) + " not empty after sentence 1";
      }
    }
    if (count != group.sentences || count != static_cast<int>(sentences.size()))
      return std::string("sentence count does not match");
    if (number != static_cast<int>(i) + 1) return std::string("sentences out of order");
    if (sequence != group.sequence) return std::string("sequential identifier changes");
    if (std::string problem = Unescape(f[13], group.text); !problem.empty()) return problem;
  }
  if (group.totalCharacters != group.text.size())
    return "total " + std::to_string(group.totalCharacters) + " for " +
           std::to_string(group.text.size()) + " characters";
  return group;
}

std::vector<std::string> SplitSentences(std::string_view stream) {
  std::vector<std::string> sentences;
  while (!stream.empty()) {
    const std::size_t end = stream.find("\r\n");
    const std::size_t length = end == std::string_view::npos ? stream.size() : end + 2;
    sentences.emplace_back(stream.substr(0, length));
    stream.remove_prefix(length);
  }
  return sentences;
}

}  // namespace seaherald::testing
