#include "relay/NrxSentences.h"

#include <cstdio>

namespace seaherald {
namespace {

constexpr std::string_view kPrefix = "$CRNRX,";
constexpr std::string_view kReserved = "$*,!\\^~";
constexpr std::size_t kTrailerLength = 5;  // "*hh" and CR LF
constexpr char kHex[] = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c) {
  return c < 0x20 || c > 0x7E || kReserved.find(static_cast<char>(c)) != std::string_view::npos;
}

// Fields 4 to 12 of the first sentence, each followed by its comma.
std::string FirstSentenceFields(const NrxMessage& m, std::size_t totalCharacters, bool valid) {
  char fields[96];
  std::snprintf(fields, sizeof fields, "%s,%s,%02d%02d%02d,%02d,%02d,%04d,%zu,%d,%c,",
                m.header.c_str(), std::string(NrxFrequencyIndex(m.frequency)).c_str(), m.utc.hour,
                m.utc.minute, m.utc.second, m.utc.day, m.utc.month, m.utc.year, totalCharacters,
                m.badCharacters, valid ? 'A' : 'V');
  return fields;
}

// Characters of the text that escaped parts carry, an escape counting as one.
std::size_t CarriedCharacters(const std::vector<std::string>& parts) {
  std::size_t count = 0;
  for (const std::string& part : parts) {
    for (std::size_t i = 0; i < part.size(); i += part[i] == '^' ? 3 : 1)
      ++count;
  }
  return count;
}

constexpr std::string_view kLaterSentenceFields = ",,,,,,,,,";

// Cuts the escaped text into parts of at most the given room, never inside an escape.
std::vector<std::string> SplitEscaped(std::string_view escaped, std::size_t firstRoom,
                                      std::size_t laterRoom) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < escaped.size();) {
    const std::size_t unit = escaped[i] == '^' ? 3 : 1;
    const std::size_t room = parts.size() == 1 ? firstRoom : laterRoom;
    if (parts.back().size() + unit > room) parts.emplace_back();
    parts.back().append(escaped.substr(i, unit));
    i += unit;
  }
  return parts;
}

}  // namespace

std::string EscapeNmeaText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!NeedsEscape(c)) {
      escaped += ch;
      continue;
    }
    escaped += '^';
    escaped += kHex[c >> 4];
    escaped += kHex[c & 0x0F];
  }
  return escaped;
}

std::string NmeaChecksum(std::string_view between) {
  unsigned char sum = 0;
  for (const char c : between)
    sum ^= static_cast<unsigned char>(c);
  return {kHex[sum >> 4], kHex[sum & 0x0F]};
}

std::vector<std::string> NrxSentences(const NrxMessage& message) {
  const std::size_t countsLength = 11;  // "nnn,nnn,nn,"
  const std::size_t fixed = kPrefix.size() + countsLength + kTrailerLength;
  // The room in the first sentence does not depend on how the text is split; a text cut at the
  // last sentence only shortens the fields (fewer characters, status V).
  const std::string firstFields = FirstSentenceFields(message, message.text.size(), message.valid);
  std::vector<std::string> parts =
      SplitEscaped(EscapeNmeaText(message.text), kNrxSentenceLimit - fixed - firstFields.size(),
                   kNrxSentenceLimit - fixed - kLaterSentenceFields.size());
  std::string first = firstFields;
  if (parts.size() > static_cast<std::size_t>(kNrxMaxSentences)) {
    parts.resize(kNrxMaxSentences);
    first = FirstSentenceFields(message, CarriedCharacters(parts), false);
  }
  std::vector<std::string> sentences;
  sentences.reserve(parts.size());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    char counts[48];
    std::snprintf(counts, sizeof counts, "%03zu,%03zu,%02d,", parts.size(), i + 1,
                  message.sequence % 100);
    std::string body = std::string(kPrefix.substr(1)) + counts;
    body += i == 0 ? first : std::string(kLaterSentenceFields);
    body += parts[i];
    sentences.push_back("$" + body + "*" + NmeaChecksum(body) + "\r\n");
  }
  return sentences;
}

}  // namespace seaherald
