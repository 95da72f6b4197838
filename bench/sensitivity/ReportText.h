#pragma once

#include <string>

#include "bench/sensitivity/CharacterErrors.h"
#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

// printf-style formatting of one number.
std::string Format(const char* format, double value);
// With a "+" before positive values.
std::string Signed(double value, const char* format);
// A character error rate in percent with two decimals; "-" when nothing was sent.
std::string Percent(const CharacterErrors& errors);

std::string LanguageName(testsignal::Language language);
std::string PathName(ReceivePath path);       // "standard" or "sensitive"
std::string PathShortName(ReceivePath path);  // "std" or "sens", for table columns
// The point's impairment in words, e.g. "offset +20 Hz", "fading 15 dB / 10 s", "on tune".
std::string ImpairmentName(const SweepPoint& point);
std::string CrashesName(const CrashModel& crashes);

}  // namespace seaherald::sensitivity
