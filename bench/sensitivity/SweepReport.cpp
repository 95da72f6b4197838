#include "bench/sensitivity/SweepReport.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/SweepMessages.h"

namespace seaherald::sensitivity {
namespace {

constexpr double CleanCharacterErrorRate = 0.01;

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string LanguageName(testsignal::Language language) {
  return language == testsignal::Language::English ? "English" : "Japanese";
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

void WriteDefinitions(std::ostream& out, const SweepOptions& options) {
  out << "SNR: power of the FSK signal (a sine of amplitude A: A^2/2) over the power of white "
         "Gaussian noise within a 2500 Hz bandwidth; the noise is white up to 22 050 Hz, so the "
         "whole noise power is 8.82 times that. Signal plus noise is held at "
      << AudioRmsLevel << " rms (16-bit samples), as a receiver's AGC would, so nothing clips.\n\n"
      << "Signal: the project's modulator, 100 baud, 170 Hz shift, centre " << ReceiverCentreHz
      << " Hz moved by the offset, bit rate off by the rate error. "
         "Each message has "
      << MessagePhasingSeconds
      << " s of phasing before its text, as stations send. Receiver: the window's block handler "
         "and message log with the default settings (centre 800 Hz, ErrNum 10 with ErrSave on, "
         "TimeOut 30 s), "
      << (options.fixedLanguage
              ? "but set by hand to the language sent, automatic mode off"
              : "in the automatic mode that finds language and polarity, starting in Japanese")
      << "; a fresh receiver and log folder for every message.\n\n"
      << "Messages: " << options.messagesPerPoint
      << " per point, each with its own text and noise seed (message m has the same text and seed "
         "at every point); English ~190 characters, Japanese ~75 characters, four or five body "
         "lines between the start and end marker lines.\n\n"
         "CER: characters wrong (Levenshtein distance: lost, garbled and spurious characters count "
         "one each) over characters sent, summed over the point's messages. Compared are every "
         "line sent (start and end marker lines included) and every line the decoder handed over "
         "while the message played; a character is one letter, figure, space or Japanese "
         "character, plus one per line end. Filed: messages whose log file exists under the "
         "header sent. Lines cut: lines the decoder ended short on losing sync, summed. CER filed: "
         "as CER, between the body lines stored in the log files and the body lines sent, over "
         "the filed messages only (\"-\" when none was filed).\n\n";
}

void WriteTable(std::ostream& out, const std::vector<MeasuredPoint>& measured) {
  out << "| Language | SNR (dB) | Offset (Hz) | Rate error (%) | CER (%) | Filed | Lines cut "
         "| CER filed (%) |\n"
         "|---|---:|---:|---:|---:|---:|---:|---:|\n";
  for (const MeasuredPoint& m : measured) {
    out << "| " << LanguageName(m.point.language) << " | " << Format("%g", m.point.snrDb) << " | "
        << Signed(m.point.offsetHz, "%g") << " | " << Signed(m.point.rateError * 100.0, "%.1f")
        << " | " << Percent(m.result.text) << " | " << m.result.filed << "/" << m.result.messages
        << " | " << m.result.cutLines << " | " << Percent(m.result.filedBody) << " |\n";
  }
  out << "\n";
}

std::string DbOrNone(const std::optional<double>& db, double lowestStep) {
  if (!db) return "not reached";
  std::string text = *db <= lowestStep ? "<= " : "";
  text += Format("%g", *db);
  return text;
}

void WriteFallOffs(std::ostream& out, const std::vector<MeasuredPoint>& measured) {
  using Key = std::tuple<testsignal::Language, double, double>;
  std::map<Key, std::vector<MeasuredPoint>> series;
  std::vector<Key> order;
  for (const MeasuredPoint& m : measured) {
    const Key key{m.point.language, m.point.offsetHz, m.point.rateError};
    if (!series.contains(key)) order.push_back(key);
    series[key].push_back(m);
  }
  out << "| Language | Offset (Hz) | Rate error (%) | All filed, CER < 1 % from (dB) "
         "| Half filed from (dB) |\n"
         "|---|---:|---:|---:|---:|\n";
  for (const Key& key : order) {
    std::vector<MeasuredPoint>& steps = series[key];
    std::sort(steps.begin(), steps.end(),
              [](const auto& a, const auto& b) { return a.point.snrDb < b.point.snrDb; });
    const FallOff fallOff = FindFallOff(steps);
    const double lowest = steps.front().point.snrDb;
    out << "| " << LanguageName(std::get<0>(key)) << " | " << Signed(std::get<1>(key), "%g")
        << " | " << Signed(std::get<2>(key) * 100.0, "%.1f") << " | "
        << DbOrNone(fallOff.cleanFromDb, lowest) << " | "
        << DbOrNone(fallOff.halfFiledFromDb, lowest) << " |\n";
  }
  out << "\n";
}

}  // namespace

FallOff FindFallOff(const std::vector<MeasuredPoint>& steps) {
  FallOff fallOff;
  // Walk down from the strongest signal; a threshold holds as long as no weaker step breaks it.
  bool clean = true;
  bool half = true;
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
    const PointResult& r = it->result;
    clean = clean && r.filed == r.messages && r.text.Rate() < CleanCharacterErrorRate;
    half = half && 2 * r.filed >= r.messages;
    if (clean) fallOff.cleanFromDb = it->point.snrDb;
    if (half) fallOff.halfFiledFromDb = it->point.snrDb;
  }
  return fallOff;
}

void WriteSweepReport(std::ostream& out, const SweepOptions& options,
                      const std::vector<MeasuredPoint>& measured, double seconds) {
  out << "# Decoder sensitivity\n\n";
  WriteDefinitions(out, options);
  out << "## Every point\n\n";
  WriteTable(out, measured);
  out << "## Where decoding falls off\n\n";
  WriteFallOffs(out, measured);
  out << "Measured in " << Format("%.0f", seconds) << " s.\n";
}

}  // namespace seaherald::sensitivity
