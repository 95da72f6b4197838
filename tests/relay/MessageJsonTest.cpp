// The JSON objects checked against the field tables of docs/json-output.md, and their values
// against the catalogue, the clock and the message.
#include "relay/MessageJson.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "relay/ReceptionTime.h"

namespace seaherald {
namespace {

using Json = nlohmann::json;
using FieldTypes = std::map<std::string, std::string>;  // "station.en" -> "string"

// The rows "| `name` | type | ..." of the table under a "## " heading of the document.
FieldTypes DocumentedFields(const std::string& heading) {
  std::ifstream doc(SEAHERALD_SOURCE_DIR "/docs/json-output.md");
  EXPECT_TRUE(doc.good());
  FieldTypes fields;
  bool inSection = false;
  for (std::string line; std::getline(doc, line);) {
    if (line.starts_with("## ")) inSection = line == "## " + heading;
    if (!inSection || !line.starts_with("| `")) continue;
    const std::size_t nameEnd = line.find('`', 3);
    const std::size_t typeStart = line.find("| ", nameEnd) + 2;
    const std::size_t typeEnd = line.find(" |", typeStart);
    fields[line.substr(3, nameEnd - 3)] = line.substr(typeStart, typeEnd - typeStart);
  }
  return fields;
}

std::string TypeOf(const Json& value) {
  if (value.is_string()) return "string";
  if (value.is_boolean()) return "boolean";
  if (value.is_number()) return "number";
  if (value.is_object()) return "object";
  return value.type_name();
}

FieldTypes FieldsOf(const Json& object, const std::string& prefix = "") {
  FieldTypes fields;
  for (const auto& [key, value] : object.items()) {
    fields[prefix + key] = TypeOf(value);
    if (value.is_object()) fields.merge(FieldsOf(value, prefix + key + "."));
  }
  return fields;
}

Json Parsed(const std::string& text) {
  EXPECT_EQ(text.find('\n'), std::string::npos) << "an object must stay on one line";
  return Json::parse(text);
}

class MessageJsonTest : public ::testing::Test {
 protected:
  MessageJsonTest() {
    setenv("TZ", "JST-9", 1);
    tzset();
  }
  ~MessageJsonTest() override {
    unsetenv("TZ");
    tzset();
  }
  CodePageConverter converter_;
};

TEST_F(MessageJsonTest, LineObjectHasExactlyTheDocumentedFields) {
  const Json line =
      Parsed(LineJson(converter_, "ZCZC GA12", true, LocalDateTime{2026, 12, 8, 14, 50, 3}));
  EXPECT_EQ(FieldsOf(line), DocumentedFields("Line objects"));
  EXPECT_EQ(line["kind"], "line");
  EXPECT_EQ(line["text"], "ZCZC GA12");
  EXPECT_EQ(line["cut"], true);
  EXPECT_EQ(line["time"], "2026-12-08T14:50:03+09:00");
}

// Japanese text and noise that is no character come out as valid UTF-8.
TEST_F(MessageJsonTest, ShiftJisLinesBecomeUtf8AndBrokenBytesBecomeReplacementCharacters) {
  const std::string sjis = *converter_.Cp932FromUtf8("航行警報") + "\x88";  // a lone lead byte
  const Json line = Parsed(LineJson(converter_, sjis, false, {}));
  EXPECT_EQ(line["text"], "航行警報\xEF\xBF\xBD");
}

TEST_F(MessageJsonTest, MessageObjectHasExactlyTheDocumentedFieldsAndCatalogueNames) {
  const CompletedMessage english{"GA12",
                                 0,
                                 "FIRST LINE\r\nCUT...\r\n",
                                 1,
                                 LocalDateTime{2026, 1, 1, 3, 4, 5},
                                 FilingOutcome::kReplaced};
  const Json m = Parsed(MessageJson(converter_, english, NavtexFrequency::k4209, "bridge-pc"));
  EXPECT_EQ(FieldsOf(m), DocumentedFields("Message objects"));
  EXPECT_EQ(m["kind"], "message");
  EXPECT_EQ(m["header"], "GA12");
  EXPECT_EQ(m["language"], "en");
  EXPECT_EQ(m["station"], (Json{{"letter", "G"}, {"en", "Naha"}, {"ja", "那覇"}}));
  EXPECT_EQ(m["type"],
            (Json{{"letter", "A"}, {"en", "Navigational warnings"}, {"ja", "航行警報"}}));
  EXPECT_EQ(m["alarm"], false);
  EXPECT_EQ(m["received"], "2026-01-01T03:04:05+09:00");
  EXPECT_EQ(m["received_utc"], "2025-12-31T18:04:05Z");
  EXPECT_EQ(m["frequency_khz"], 4209.5);
  EXPECT_EQ(m["receiver"], "bridge-pc");
  EXPECT_EQ(m["cut_lines"], 1);
  EXPECT_EQ(m["filed"], true);
  EXPECT_EQ(m["filing"], "replaced");
  EXPECT_EQ(m["text"], "FIRST LINE\nCUT...\n");
}

TEST_F(MessageJsonTest, JapaneseMessageAndUnnamedLettersUseTheOtherEntries) {
  const std::string header = *converter_.Cp932FromUtf8("ＱＺ１２３");
  const CompletedMessage japanese{header, 1,  *converter_.Cp932FromUtf8("本文\r\n"),
                                  0,      {}, FilingOutcome::kTooManyErrors};
  const Json m = Parsed(MessageJson(converter_, japanese, NavtexFrequency::k424, "r"));
  EXPECT_EQ(m["frequency_khz"], 424);
  EXPECT_EQ(m["header"], "ＱＺ１２３");
  EXPECT_EQ(m["language"], "ja");
  EXPECT_EQ(m["station"], (Json{{"letter", "Ｑ"}, {"en", "Another"}, {"ja", "その他"}}));
  EXPECT_EQ(m["type"], (Json{{"letter", "Ｚ"}, {"en", "Other"}, {"ja", "その他"}}));
  EXPECT_EQ(m["text"], "本文\n");
  EXPECT_EQ(m["filed"], false);
  EXPECT_EQ(m["filing"], "too-many-cut-lines");
}

TEST_F(MessageJsonTest, AreaNameReplacesBothCatalogueNamesAndAlarmIsCarried) {
  CompletedMessage message{"GD07", 0, "MAYDAY RELAY\r\n", 0, {}, FilingOutcome::kWritten};
  message.stationName = "Cullercoats";
  message.alarm = true;
  const Json m = Parsed(MessageJson(converter_, message, NavtexFrequency::k518, "r"));
  EXPECT_EQ(m["station"], (Json{{"letter", "G"}, {"en", "Cullercoats"}, {"ja", "Cullercoats"}}));
  EXPECT_EQ(m["alarm"], true);
  // A letter the area has no station for: another station in each language, not Naha's name.
  message.stationName = "Another";
  EXPECT_EQ(Parsed(MessageJson(converter_, message, NavtexFrequency::k518, "r"))["station"],
            (Json{{"letter", "G"}, {"en", "Another"}, {"ja", "その他"}}));
}

// The "filing" words are the documented ones, and "filed" agrees with them.
TEST_F(MessageJsonTest, TwoReceiversAddTheDocumentedChannelAfterTheKindAndTheirOwnFrequency) {
  FieldTypes lineFields = DocumentedFields("Line objects");
  FieldTypes messageFields = DocumentedFields("Message objects");
  for (const auto& [name, type] : DocumentedFields("Two receivers")) {
    lineFields[name] = type;
    messageFields[name] = type;
  }
  const std::string line = LineJson(converter_, "ZCZC GA12", false, {2026, 12, 8, 14, 50, 3}, "3");
  EXPECT_EQ(FieldsOf(Parsed(line)), lineFields);
  EXPECT_TRUE(line.starts_with(R"({"kind":"line","channel":"3",)")) << line;

  CompletedMessage message("GA12", 0, "TEXT\r\n", 0, {2026, 12, 8, 14, 50, 3},
                           FilingOutcome::kWritten);
  message.channel = "right";
  message.frequencyKhz = 424.0;
  const std::string object = MessageJson(converter_, message, NavtexFrequency::k518, "bridge");
  EXPECT_EQ(FieldsOf(Parsed(object)), messageFields);
  EXPECT_TRUE(object.starts_with(R"({"kind":"message","channel":"right",)")) << object;
  EXPECT_EQ(Parsed(object)["frequency_khz"], 424.0);
}

TEST_F(MessageJsonTest, EveryOutcomeHasItsDocumentedWord) {
  const std::map<FilingOutcome, std::pair<std::string, bool>> expected{
      {FilingOutcome::kWritten, {"new", true}},
      {FilingOutcome::kReplaced, {"replaced", true}},
      {FilingOutcome::kKeptOlder, {"stored-copy-has-fewer-errors", false}},
      {FilingOutcome::kTooManyErrors, {"too-many-cut-lines", false}},
      {FilingOutcome::kWriteFailed, {"write-failed", false}},
      {FilingOutcome::kNotFiling, {"not-filing", false}}};
  std::ifstream doc(SEAHERALD_SOURCE_DIR "/docs/json-output.md");
  const std::string text{std::istreambuf_iterator<char>(doc), {}};
  for (const auto& [outcome, word] : expected) {
    const CompletedMessage message{"GA12", 0, "X\r\n", 0, {}, outcome};
    const Json m = Parsed(MessageJson(converter_, message, NavtexFrequency::k518, "r"));
    EXPECT_EQ(m["filing"], word.first);
    EXPECT_EQ(m["filed"], word.second);
    EXPECT_NE(text.find("`\"" + word.first + "\"`"), std::string::npos) << word.first;
  }
}

TEST(ReceptionTime, LocalTimesArePlacedByTheTimeZone) {
  setenv("TZ", "EST5", 1);
  tzset();
  const ZonedTime evening = ZoneLocalTime({2026, 12, 31, 22, 30, 0});
  EXPECT_EQ(Iso8601(evening), "2026-12-31T22:30:00-05:00");
  EXPECT_EQ(evening.utc.year, 2027);
  EXPECT_EQ(evening.utc.hour, 3);
  setenv("TZ", "IST-5:30", 1);
  tzset();
  EXPECT_EQ(Iso8601(ZoneLocalTime({2026, 6, 1, 0, 0, 0})), "2026-06-01T00:00:00+05:30");
  setenv("TZ", "UTC0", 1);
  tzset();
  EXPECT_EQ(Iso8601(ZoneLocalTime({2026, 6, 1, 0, 0, 0})), "2026-06-01T00:00:00+00:00");
  unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace seaherald
