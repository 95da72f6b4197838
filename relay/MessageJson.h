#pragma once

#include <string>

#include "msglog/CompletedMessage.h"
#include "platform/CodePage.h"
#include "platform/LocalClock.h"
#include "relay/NavtexFrequency.h"

namespace seaherald {

// One JSON object on one line (no line end) for a handed-over line:
// {"kind":"line","time":...,"text":...,"cut":...}. Fields in docs/json-output.md.
// With two receivers `channel` names the one that received it ("channel" follows "kind").
std::string LineJson(const CodePageConverter& converter, const std::string& sjisLine, bool cut,
                     const LocalDateTime& time, std::string_view channel = {});

// One JSON object on one line (no line end) for a completed message (with two receivers its
// "channel" follows "kind", and its own frequency replaces `frequency`):
// {"kind":"message","header":...,"language":...,"station":{...},"type":{...},"received":...,
//  "alarm":...,"received_utc":...,"frequency_khz":...,"receiver":...,"cut_lines":...,"filed":...,
//  "filing":...,"text":...}, `frequency` being what the receiver is tuned to and `receiver` (UTF-8)
//  its name. Fields in docs/json-output.md.
std::string MessageJson(const CodePageConverter& converter, const CompletedMessage& message,
                        NavtexFrequency frequency, std::string_view receiver);

// The word for an outcome in the "filing" field.
const char* FilingWord(FilingOutcome outcome);

}  // namespace seaherald
