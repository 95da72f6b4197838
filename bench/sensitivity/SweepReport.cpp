#include "bench/sensitivity/SweepReport.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <tuple>

#include "bench/sensitivity/ReceptionRun.h"
#include "bench/sensitivity/ReportText.h"
#include "bench/sensitivity/SweepMessages.h"

namespace seaherald::sensitivity {
namespace {

constexpr double CleanCharacterErrorRate = 0.01;

bool OnTune(const SweepPoint& point) {
  return point.offsetHz == 0.0 && point.rateError == 0.0 && !point.fading && !point.crashes &&
         !point.channel && !point.bursts;
}

// Stored copies the repeat made worse, of the clean copies filed first; "-" when none were.
std::string Worse(const PointResult& result) {
  if (result.cleanCopies == 0) return "-";
  return std::to_string(result.replacedByWorse) + "/" + std::to_string(result.cleanCopies);
}

std::string Filed(const PointResult& result) {
  return std::to_string(result.filed) + "/" + std::to_string(result.messages);
}

void WriteDefinitions(std::ostream& out, const SweepOptions& options) {
  out << "Paths: standard (settings key DecSens off, columns marked std) and sensitive (DecSens "
         "on, columns marked sens); ";
  if (options.paths.size() == 1) {
    out << "this run measured the " << PathName(options.paths.front()) << " path only.\n\n";
  } else {
    out << "both receive the very same audio: the same messages with the same noise, fading and "
           "crashes.\n\n";
  }
  out << "SNR: mean power of the FSK signal (a sine of amplitude A: A^2/2) over the power of white "
         "Gaussian noise within a 2500 Hz bandwidth; the noise is white up to 22 050 Hz, so the "
         "whole noise power is 8.82 times that. Signal plus noise is held at "
      << AudioRmsLevel
      << " rms (16-bit samples), as a receiver's AGC with a long time constant would, so nothing "
         "clips.\n\n"
      << "Signal: the project's modulator, 100 baud, 170 Hz shift, centre " << ReceiverCentreHz
      << " Hz moved by the offset, bit rate off by the rate error. Each message has "
      << MessagePhasingSeconds
      << " s of phasing before its text, as stations send. Each impairment is measured alone on "
         "an otherwise clean signal.\n\n"
      << "Fading: slow flat fading as skywave gives it; the signal's level in dB follows a cosine "
         "between its peak and "
      << options.fading.depthDb << " dB below it, one cycle every " << options.fading.periodSeconds
      << " s, scaled so that the mean power over a cycle, and with it the SNR, is that of the "
         "unfaded signal (the peak lies above the mean, the trough further below it). Each "
         "message starts at its own phase of the cycle. The AGC does not follow the fade.\n\n"
      << "Crashes: static crashes on top of the noise, not counted in the SNR nor in the AGC "
         "level: bursts of white noise arriving at random (Poisson) at "
      << options.crashes.ratePerSecond << " a second, each starting at "
      << Signed(options.crashes.levelDb, "%g") << " dB over the " << AudioRmsLevel
      << " rms level and dying away with a 1 ms time constant (cut off after 5 ms); their peaks "
         "may saturate the 16-bit samples (well under 0.1 % of all samples).\n\n"
      << "Rayleigh channels (rayleigh F Hz): flat Rayleigh fading with Clarke's Doppler spectrum "
         "of maximum Doppler F, the same complex gain on both tones, mean power one, so the SNR "
         "is the mean over the fades. Watterson channels: two independent Rayleigh paths of equal "
         "mean power (one half each) with Gaussian Doppler spectra of the spread given (twice the "
         "standard deviation), the second delayed by the time given (ITU-R F.1487 conditions). "
         "Each message fades in its own way (seeded by its seed). The AGC does not follow the "
         "fades.\n\n"
      << "Bursts: noise bursts of the length given, held at "
      << Signed(options.bursts.levelDb, "%g") << " dB over the " << AudioRmsLevel
      << " rms level, arriving at random (Poisson) at " << options.bursts.ratePerSecond
      << " a second, on top of the noise and not counted in the SNR.\n\n"
      << "Receiver: the window's block handler and message log with the default settings "
         "(centre 800 Hz, ErrNum 10 with ErrSave on, TimeOut 30 s), "
      << (options.fixedLanguage
              ? "but set by hand to the language sent, automatic mode off"
              : "in the automatic mode that finds language and polarity, starting in Japanese")
      << "; a fresh receiver and log folder for every message and path.\n\n"
      << "Messages: " << options.messagesPerPoint
      << " per point, each with its own text and noise seed (message m has the same text and seed "
         "at every point); English ~190 characters, Japanese ~75 characters, four or five body "
         "lines between the start and end marker lines.\n\n"
         "CER: characters wrong (Levenshtein distance: lost, garbled and spurious characters count "
         "one each) over characters sent, summed over the point's messages. Compared are every "
         "line sent (start and end marker lines included) and every line the decoder handed over "
         "while the message played; a character is one letter, figure, space or Japanese "
         "character, plus one per line end. Filed: messages whose log file exists under the "
         "header sent. Cut: lines the decoder ended short on losing sync, summed. CER filed: "
         "as CER, between the body lines stored in the log files and the body lines sent, over "
         "the filed messages only (\"-\" when none was filed). Wrong hdr: log files written under "
         "a header that was not sent (the log folder holds only the sent header's file "
         "otherwise). Worse: with --clean-first, stored copies whose text had more character "
         "errors after the impaired repeat than after the clean copy filed before it, of the "
         "clean copies filed (\"-\" without --clean-first; there Filed and CER filed describe "
         "the stored copy after the repeat).\n\n"
      << "Seeds: message m is sent with seed " << options.firstSeed
      << " + m (noise, fading and bursts).\n\n";
}

// One column per path for each of `titles`, e.g. "CER std (%)".
void WriteHeader(std::ostream& out, const std::vector<std::string>& leading,
                 const std::vector<std::pair<std::string, std::string>>& titles,
                 const std::vector<ReceivePath>& paths) {
  std::string rule = "|";
  out << "|";
  for (const std::string& title : leading) {
    out << " " << title << " |";
    rule += title.starts_with("SNR") ? "---:|" : "---|";
  }
  for (const auto& [name, unit] : titles) {
    for (const ReceivePath path : paths) {
      out << " " << name << " " << PathShortName(path) << unit << " |";
      rule += "---:|";
    }
  }
  out << "\n" << rule << "\n";
}

void WriteTable(std::ostream& out, const SweepOptions& options,
                const std::vector<MeasuredPoint>& measured) {
  WriteHeader(out, {"Language", "Impairment", "SNR (dB)"},
              {{"CER", " (%)"},
               {"Filed", ""},
               {"Cut", ""},
               {"CER filed", " (%)"},
               {"Wrong hdr", ""},
               {"Worse", ""}},
              options.paths);
  for (const MeasuredPoint& m : measured) {
    out << "| " << LanguageName(m.point.language) << " | " << ImpairmentName(m.point) << " | "
        << Format("%g", m.point.snrDb) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << Percent(m.results[PathIndex(path)].text) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << Filed(m.results[PathIndex(path)]) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << m.results[PathIndex(path)].cutLines << " |";
    for (const ReceivePath path : options.paths)
      out << " " << Percent(m.results[PathIndex(path)].filedBody) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << m.results[PathIndex(path)].foreignLogs << " |";
    for (const ReceivePath path : options.paths)
      out << " " << Worse(m.results[PathIndex(path)]) << " |";
    out << "\n";
  }
  out << "\n";
}

std::string DbOrNone(const std::optional<double>& db, double lowestStep) {
  if (!db) return "not reached";
  std::string text = *db <= lowestStep ? "<= " : "";
  text += Format("%g", *db);
  return text;
}

void WriteFallOffs(std::ostream& out, const SweepOptions& options,
                   const std::vector<MeasuredPoint>& measured) {
  using Key = std::tuple<testsignal::Language, std::string>;
  std::map<Key, std::vector<MeasuredPoint>> series;
  std::vector<Key> order;
  for (const MeasuredPoint& m : measured) {
    const Key key{m.point.language, ImpairmentName(m.point)};
    if (!series.contains(key)) order.push_back(key);
    series[key].push_back(m);
  }
  WriteHeader(out, {"Language", "Impairment"},
              {{"All filed, CER < 1 % from", " (dB)"}, {"Half filed from", " (dB)"}},
              options.paths);
  for (const Key& key : order) {
    std::vector<MeasuredPoint>& steps = series[key];
    std::sort(steps.begin(), steps.end(),
              [](const auto& a, const auto& b) { return a.point.snrDb < b.point.snrDb; });
    const double lowest = steps.front().point.snrDb;
    out << "| " << LanguageName(std::get<0>(key)) << " | " << std::get<1>(key) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << DbOrNone(FindFallOff(steps, path).cleanFromDb, lowest) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << DbOrNone(FindFallOff(steps, path).halfFiledFromDb, lowest) << " |";
    out << "\n";
  }
  out << "\n";
}

}  // namespace

FallOff FindFallOff(const std::vector<MeasuredPoint>& steps, ReceivePath path) {
  FallOff fallOff;
  // Walk down from the strongest signal; a threshold holds as long as no weaker step breaks it.
  bool clean = true;
  bool half = true;
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
    const PointResult& r = it->results[PathIndex(path)];
    // A point without messages (a path not run) proves nothing.
    clean =
        clean && r.messages > 0 && r.filed == r.messages && r.text.Rate() < CleanCharacterErrorRate;
    half = half && r.messages > 0 && 2 * r.filed >= r.messages;
    if (clean) fallOff.cleanFromDb = it->point.snrDb;
    if (half) fallOff.halfFiledFromDb = it->point.snrDb;
  }
  return fallOff;
}

void WriteOnTuneTable(std::ostream& out, const SweepOptions& options,
                      const std::vector<MeasuredPoint>& measured) {
  std::map<double, std::map<testsignal::Language, const MeasuredPoint*>> rows;
  for (const MeasuredPoint& m : measured) {
    if (OnTune(m.point)) rows[m.point.snrDb][m.point.language] = &m;
  }
  if (rows.empty()) {
    out << "(On tune was not measured.)\n\n";
    return;
  }
  std::vector<std::pair<std::string, std::string>> titles;
  for (const testsignal::Language language : options.languages) {
    titles.emplace_back(LanguageName(language) + " CER", " (%)");
    titles.emplace_back(LanguageName(language) + " filed", "");
  }
  WriteHeader(out, {"SNR (dB)"}, titles, options.paths);
  for (const auto& [snr, byLanguage] : rows) {
    out << "| " << Format("%g", snr) << " |";
    for (const testsignal::Language language : options.languages) {
      const auto found = byLanguage.find(language);
      for (const ReceivePath path : options.paths) {
        out << " "
            << (found == byLanguage.end() ? "-"
                                          : Percent(found->second->results[PathIndex(path)].text))
            << " |";
      }
      for (const ReceivePath path : options.paths) {
        out << " "
            << (found == byLanguage.end() ? "-" : Filed(found->second->results[PathIndex(path)]))
            << " |";
      }
    }
    out << "\n";
  }
  out << "\n";
}

void WriteIntegrityTable(std::ostream& out, const SweepOptions& options,
                         const std::vector<MeasuredPoint>& measured) {
  WriteHeader(out, {"Language", "Impairment", "SNR (dB)"},
              {{"Filed", ""}, {"Wrong hdr", ""}, {"Worse", ""}}, options.paths);
  std::array<PointResult, BothPaths.size()> total{};
  for (const MeasuredPoint& m : measured) {
    out << "| " << LanguageName(m.point.language) << " | " << ImpairmentName(m.point) << " | "
        << Format("%g", m.point.snrDb) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << Filed(m.results[PathIndex(path)]) << " |";
    for (const ReceivePath path : options.paths)
      out << " " << m.results[PathIndex(path)].foreignLogs << " |";
    for (const ReceivePath path : options.paths)
      out << " " << Worse(m.results[PathIndex(path)]) << " |";
    out << "\n";
    for (const ReceivePath path : options.paths) {
      const PointResult& r = m.results[PathIndex(path)];
      PointResult& sum = total[PathIndex(path)];
      sum.messages += r.messages;
      sum.filed += r.filed;
      sum.foreignLogs += r.foreignLogs;
      sum.cleanCopies += r.cleanCopies;
      sum.replacedByWorse += r.replacedByWorse;
    }
  }
  out << "| all | | |";
  for (const ReceivePath path : options.paths)
    out << " " << Filed(total[PathIndex(path)]) << " |";
  for (const ReceivePath path : options.paths)
    out << " " << total[PathIndex(path)].foreignLogs << " |";
  for (const ReceivePath path : options.paths)
    out << " " << Worse(total[PathIndex(path)]) << " |";
  out << "\n\n";
}

void WriteSweepReport(std::ostream& out, const SweepOptions& options,
                      const std::vector<MeasuredPoint>& measured, double seconds) {
  out << "# Decoder sensitivity\n\n";
  WriteDefinitions(out, options);
  out << "## On tune\n\n";
  WriteOnTuneTable(out, options, measured);
  out << "## Every point\n\n";
  WriteTable(out, options, measured);
  out << "## Where decoding falls off\n\n";
  WriteFallOffs(out, options, measured);
  out << "Measured in " << Format("%.0f", seconds) << " s with `" << options.commandLine << "`.\n";
}

}  // namespace seaherald::sensitivity
