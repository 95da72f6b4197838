#include "bench/sensitivity/ReportText.h"

#include <cstdio>

namespace seaherald::sensitivity {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Signed(double value, const char* format) {
  // Appended rather than concatenated: GCC 12 warns falsely (-Wrestrict) on "+" + string.
  std::string text = value > 0 ? "+" : "";
  text += Format(format, value);
  return text;
}

std::string Percent(const CharacterErrors& errors) {
  if (errors.sentCharacters == 0) return "-";
  return Format("%.2f", 100.0 * errors.Rate());
}

std::string LanguageName(testsignal::Language language) {
  return language == testsignal::Language::English ? "English" : "Japanese";
}

std::string PathName(ReceivePath path) {
  return path == ReceivePath::Standard ? "standard" : "sensitive";
}

std::string PathShortName(ReceivePath path) {
  return path == ReceivePath::Standard ? "std" : "sens";
}

std::string CrashesName(const CrashModel& crashes) {
  std::string text = "crashes ";
  text += Format("%g", crashes.ratePerSecond);
  text += "/s at ";
  text += Signed(crashes.levelDb, "%g");
  text += " dB";
  return text;
}

std::string ImpairmentName(const SweepPoint& point) {
  std::string parts;
  const auto add = [&](const std::string& part) {
    if (!parts.empty()) parts += ", ";
    parts += part;
  };
  if (point.offsetHz != 0.0) add("offset " + Signed(point.offsetHz, "%g") + " Hz");
  if (point.rateError != 0.0) add("rate " + Signed(point.rateError * 100.0, "%.1f") + " %");
  if (point.fading) {
    add("fading " + Format("%g", point.fading->depthDb) + " dB / " +
        Format("%g", point.fading->periodSeconds) + " s");
  }
  if (point.crashes) add(CrashesName(*point.crashes));
  if (point.channel) add(point.channel->name);
  if (point.bursts) {
    add("bursts " + Format("%g", point.bursts->durationMs) + " ms " +
        Format("%g", point.bursts->ratePerSecond) + "/s at " + Signed(point.bursts->levelDb, "%g") +
        " dB");
  }
  return parts.empty() ? "on tune" : parts;
}

}  // namespace seaherald::sensitivity
