#include "relay/MessageJson.h"

#include <nlohmann/json.hpp>

#include "msglog/Catalogue.h"
#include "platform/ShowableUtf8.h"
#include "relay/ReceptionTime.h"

namespace seaherald {
namespace {

using json = nlohmann::ordered_json;

std::string Utf8(const CodePageConverter& converter, const std::string& sjis) {
  return ShowableUtf8(converter, sjis);
}

// The filed body with LF line ends instead of CR LF.
std::string TextWithNewlines(std::string body) {
  std::string text;
  text.reserve(body.size());
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
    text += body[i];
  }
  return text;
}

json CatalogueEntry(const CodePageConverter& converter, const std::string& letter,
                    const std::string& english, const std::string& japanese) {
  return {{"letter", Utf8(converter, letter)},
          {"en", Utf8(converter, english)},
          {"ja", Utf8(converter, japanese)}};
}

std::string OneLine(const json& object) {
  return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

const char* FilingWord(FilingOutcome outcome) {
  switch (outcome) {
    case FilingOutcome::kWritten:
      return "new";
    case FilingOutcome::kReplaced:
      return "replaced";
    case FilingOutcome::kKeptOlder:
      return "stored-copy-has-fewer-errors";
    case FilingOutcome::kTooManyErrors:
      return "too-many-cut-lines";
    case FilingOutcome::kWriteFailed:
      return "write-failed";
    case FilingOutcome::kNotFiling:
      return "not-filing";
  }
  return "not-filing";
}

std::string LineJson(const CodePageConverter& converter, const std::string& sjisLine, bool cut,
                     const LocalDateTime& time, std::string_view channel) {
  json object = {{"kind", "line"}};
  if (!channel.empty()) object["channel"] = channel;
  object["time"] = Iso8601(ZoneLocalTime(time));
  object["text"] = Utf8(converter, sjisLine);
  object["cut"] = cut;
  return OneLine(object);
}

std::string MessageJson(const CodePageConverter& converter, const CompletedMessage& message,
                        NavtexFrequency frequency, std::string_view receiver) {
  const ZonedTime received = ZoneLocalTime(message.received);
  const int lang = message.lang;
  const int base = Catalogue::BaseOfLetter(lang, Catalogue::LetterB1(lang, message.header));
  const int type = Catalogue::TypeOfLetter(lang, Catalogue::LetterB2(lang, message.header));
  // A station named by the chosen area's list has one name, in the list's words; a letter the
  // area has no station for is named as the catalogue names another station, in each language.
  const bool area =
      !message.stationName.empty() && message.stationName != Catalogue::BaseName(0, kOtherBase);
  const int stationBase = message.stationName.empty() ? base : kOtherBase;
  json object = {{"kind", "message"}};
  // Only with two receivers, so that one receiver's objects stay as they were.
  if (!message.channel.empty()) object["channel"] = message.channel;
  object.update(json{
      {"header", Utf8(converter, message.header)},
      {"language", lang == 0 ? "en" : "ja"},
      {"station", CatalogueEntry(converter, std::string(Catalogue::LetterB1(lang, message.header)),
                                 area ? message.stationName : Catalogue::BaseName(0, stationBase),
                                 area ? message.stationName : Catalogue::BaseName(1, stationBase))},
      {"type", CatalogueEntry(converter, std::string(Catalogue::LetterB2(lang, message.header)),
                              Catalogue::TypeName(0, type), Catalogue::TypeName(1, type))},
      {"alarm", message.alarm},
      {"received", Iso8601(received)},
      {"received_utc", Iso8601Utc(received)},
      {"frequency_khz", message.frequencyKhz.value_or(Kilohertz(frequency))},
      {"receiver", receiver},
      {"cut_lines", message.errorCount},
      {"filed", WasFiled(message.outcome)},
      {"filing", FilingWord(message.outcome)},
      {"text", TextWithNewlines(Utf8(converter, message.body))}});
  return OneLine(object);
}

}  // namespace seaherald
