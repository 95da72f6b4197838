#include "bench/sensitivity/SweepOptions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "bench/sensitivity/ChannelCatalogue.h"

namespace seaherald::sensitivity {
namespace {

using testsignal::Language;

// Quoted for a POSIX shell unless it is plainly safe as it stands.
std::string ShellWord(const std::string& text) {
  const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("-+.,:=/_").find(c) != std::string_view::npos;
  });
  if (plain) return text;
  std::string quoted = "'";
  for (const char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Format(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

double ParseNumber(const std::string& text, const std::string& option) {
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || !std::isfinite(value)) {
    throw std::invalid_argument(option + ": \"" + text + "\" is not a number");
  }
  return value;
}

std::vector<double> ParseList(const std::string& text, const std::string& option) {
  std::vector<double> values;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::size_t stop = comma == std::string::npos ? text.size() : comma;
    values.push_back(ParseNumber(text.substr(start, stop - start), option));
    start = stop + 1;
  }
  return values;
}

// "a:b:step" (inclusive) or "a,b,c".
std::vector<double> ParseSnrSteps(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return ParseList(text, "--snr");
  const std::size_t second = text.find(':', colon + 1);
  if (second == std::string::npos) throw std::invalid_argument("--snr: give FROM:TO:STEP");
  const double from = ParseNumber(text.substr(0, colon), "--snr");
  const double to = ParseNumber(text.substr(colon + 1, second - colon - 1), "--snr");
  const double step = ParseNumber(text.substr(second + 1), "--snr");
  if (step <= 0 || to < from || (to - from) / step > 200) {
    throw std::invalid_argument("--snr: FROM:TO:STEP needs FROM <= TO and at most 200 steps");
  }
  std::vector<double> steps;
  for (int i = 0; from + i * step <= to + step * 1e-9; ++i)
    steps.push_back(from + i * step);
  return steps;
}

std::vector<Language> ParseLanguages(const std::string& text) {
  if (text == "english") return {Language::English};
  if (text == "japanese") return {Language::Japanese};
  if (text == "both") return {Language::English, Language::Japanese};
  throw std::invalid_argument("--language: use english, japanese or both");
}

std::vector<ReceivePath> ParsePaths(const std::string& text) {
  if (text == "standard") return {ReceivePath::Standard};
  if (text == "sensitive") return {ReceivePath::Sensitive};
  if (text == "both") return {BothPaths.begin(), BothPaths.end()};
  throw std::invalid_argument("--path: use standard, sensitive or both");
}

struct ImpairmentChoice {
  std::vector<Impairment> kinds;
  std::vector<ChannelModel> channels;
  std::vector<double> burstDurationsMs;
};

void AddKind(ImpairmentChoice& choice, Impairment kind) {
  if (std::find(choice.kinds.begin(), choice.kinds.end(), kind) == choice.kinds.end()) {
    choice.kinds.push_back(kind);
  }
}

// "rayleigh" (every Doppler of RayleighDopplersHz) or "rayleigh:FD".
void AddRayleigh(ImpairmentChoice& choice, const std::string& argument) {
  AddKind(choice, Impairment::Channel);
  if (argument.empty()) {
    for (const double doppler : RayleighDopplersHz)
      choice.channels.push_back(RayleighChannel(doppler));
    return;
  }
  const double doppler = ParseNumber(argument, "--impairments rayleigh");
  if (!(doppler > 0.0 && doppler <= 50.0)) {
    throw std::invalid_argument("--impairments: rayleigh:FD needs a Doppler above 0 up to 50 Hz");
  }
  choice.channels.push_back(RayleighChannel(doppler));
}

// "watterson" (every condition) or "watterson:KEY".
void AddWatterson(ImpairmentChoice& choice, const std::string& argument) {
  AddKind(choice, Impairment::Channel);
  std::string keys;
  for (const WattersonCondition& condition : WattersonConditions) {
    if (argument.empty() || argument == condition.key) {
      choice.channels.push_back(WattersonChannel(condition));
      if (!argument.empty()) return;
    }
    keys += (keys.empty() ? "" : ", ") + std::string(condition.key);
  }
  if (!argument.empty()) {
    throw std::invalid_argument("--impairments: watterson:\"" + argument + "\" is not one of " +
                                keys);
  }
}

// "bursts" (10 ms) or "bursts:MS".
void AddBursts(ImpairmentChoice& choice, const std::string& argument) {
  AddKind(choice, Impairment::Bursts);
  const double ms = argument.empty() ? 10.0 : ParseNumber(argument, "--impairments bursts");
  if (!(ms >= 1.0 && ms <= 100.0)) {
    throw std::invalid_argument("--impairments: bursts:MS needs a length from 1 to 100 ms");
  }
  choice.burstDurationsMs.push_back(ms);
}

ImpairmentChoice ParseImpairments(const std::string& text) {
  ImpairmentChoice choice;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::size_t stop = comma == std::string::npos ? text.size() : comma;
    const std::string item = text.substr(start, stop - start);
    const std::size_t colon = item.find(':');
    const std::string name = item.substr(0, colon);
    const std::string argument = colon == std::string::npos ? "" : item.substr(colon + 1);
    const bool takesArgument = name == "rayleigh" || name == "watterson" || name == "bursts";
    if (colon != std::string::npos && (!takesArgument || argument.empty())) {
      throw std::invalid_argument("--impairments: \"" + item + "\" takes no such value");
    }
    if (name == "tune") {
      AddKind(choice, Impairment::OnTune);
    } else if (name == "offset") {
      AddKind(choice, Impairment::Offset);
    } else if (name == "rate") {
      AddKind(choice, Impairment::RateError);
    } else if (name == "fading") {
      AddKind(choice, Impairment::Fading);
    } else if (name == "crashes") {
      AddKind(choice, Impairment::Crashes);
    } else if (name == "rayleigh") {
      AddRayleigh(choice, argument);
    } else if (name == "watterson") {
      AddWatterson(choice, argument);
    } else if (name == "bursts") {
      AddBursts(choice, argument);
    } else {
      throw std::invalid_argument("--impairments: \"" + name +
                                  "\" is not one of tune, offset, rate, fading, crashes, "
                                  "rayleigh[:FD], watterson[:CONDITION], bursts[:MS]");
    }
    start = stop + 1;
  }
  return choice;
}

// A number from `lowest` up to `highest`; `lowestIncluded` false excludes `lowest` itself.
double ParseBounded(const std::string& text, const std::string& option, double lowest,
                    double highest, bool lowestIncluded = true) {
  const double value = ParseNumber(text, option);
  if (value < lowest || value > highest || (!lowestIncluded && value == lowest)) {
    throw std::invalid_argument(option + ": give a number " +
                                (lowestIncluded ? "from " : "above ") + Format(lowest) + " up to " +
                                Format(highest));
  }
  return value;
}

int ParseCount(const std::string& text, const std::string& option, int lowest, int highest) {
  const double value = ParseNumber(text, option);
  if (value != std::floor(value) || value < lowest || value > highest) {
    throw std::invalid_argument(option + ": give a whole number from " + std::to_string(lowest) +
                                " to " + std::to_string(highest));
  }
  return static_cast<int>(value);
}

}  // namespace

std::vector<double> DefaultSnrSteps() {
  return {-12, -10, -8, -7, -6, -5, -4, -2, 0, 2, 4, 6, 10};
}

std::vector<double> QuickSnrSteps() {
  return {-10, -6, -2, 2, 6};
}

SweepOptions ParseSweepOptions(std::span<const std::string> arguments) {
  SweepOptions options;
  for (const std::string& argument : arguments)
    options.commandLine.append(" ").append(ShellWord(argument));
  bool quick = false;
  std::optional<std::vector<double>> snr;
  std::optional<int> messages;
  std::optional<std::vector<double>> offsets;
  std::optional<std::vector<double>> rates;
  std::optional<ImpairmentChoice> impairments;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(option + " needs a value");
      return arguments[++i];
    };
    if (option == "--help" || option == "-h") {
      options.help = true;
    } else if (option == "--quick") {
      quick = true;
    } else if (option == "--snr") {
      snr = ParseSnrSteps(value());
    } else if (option == "--offsets") {
      offsets = ParseList(value(), option);
    } else if (option == "--rates") {
      rates.emplace();
      for (const double percent : ParseList(value(), option)) {
        // The modulator takes any error below 50 %; beyond a few percent nothing decodes.
        if (std::abs(percent) > 10) throw std::invalid_argument("--rates: at most 10 percent");
        rates->push_back(percent / 100.0);
      }
    } else if (option == "--messages") {
      messages = ParseCount(value(), option, 1, 1000);
    } else if (option == "--jobs") {
      options.jobs = ParseCount(value(), option, 1, 256);
    } else if (option == "--fixed-language") {
      options.fixedLanguage = true;
    } else if (option == "--language") {
      options.languages = ParseLanguages(value());
    } else if (option == "--path") {
      options.paths = ParsePaths(value());
    } else if (option == "--impairments") {
      impairments = ParseImpairments(value());
    } else if (option == "--fade-depth") {
      options.fading.depthDb = ParseBounded(value(), option, 0.0, 40.0);
    } else if (option == "--fade-period") {
      options.fading.periodSeconds = ParseBounded(value(), option, 0.0, 600.0, false);
    } else if (option == "--crash-rate") {
      options.crashes.ratePerSecond = ParseBounded(value(), option, 0.0, 100.0);
    } else if (option == "--crash-level") {
      options.crashes.levelDb = ParseBounded(value(), option, -40.0, 40.0);
    } else if (option == "--burst-rate") {
      options.bursts.ratePerSecond = ParseBounded(value(), option, 0.0, 100.0);
    } else if (option == "--burst-level") {
      options.bursts.levelDb = ParseBounded(value(), option, -40.0, 40.0);
    } else if (option == "--seed") {
      // Room above it for the messages' and the noise runs' seeds.
      const double seed = ParseBounded(value(), option, 0.0, 4293967295.0);
      if (seed != std::floor(seed)) throw std::invalid_argument("--seed: give a whole number");
      options.firstSeed = static_cast<std::uint32_t>(seed);
    } else if (option == "--clean-first") {
      options.cleanFirst = true;
    } else if (option == "--integrity") {
      options.integrityTable = true;
    } else if (option == "--ideal") {
      options.idealTable = true;
    } else if (option == "--noise-hours") {
      options.noiseHours = ParseBounded(value(), option, 0.0, 1000.0, false);
    } else if (option == "--readme") {
      options.readmeTable = true;
    } else {
      throw std::invalid_argument("unknown option " + option + " (see --help)");
    }
  }
  options.snrDb = snr.value_or(quick ? QuickSnrSteps() : DefaultSnrSteps());
  options.messagesPerPoint = messages.value_or(quick ? 2 : options.messagesPerPoint);
  if (quick) {
    options.offsetsHz = {20.0};
    options.rateErrors = {0.005};
  }
  if (offsets) options.offsetsHz = *offsets;
  if (rates) options.rateErrors = *rates;
  // The README table needs the on-tune points only.
  if (options.readmeTable && !options.noiseHours) options.impairments = {Impairment::OnTune};
  if (impairments) {
    options.impairments = impairments->kinds;
    options.channels = impairments->channels;
    options.burstDurationsMs = impairments->burstDurationsMs;
  }
  if (options.readmeTable && options.integrityTable) {
    throw std::invalid_argument("--readme and --integrity each print a table of their own");
  }
  return options;
}

std::string SweepUsage() {
  return "Usage: seaherald-sensitivity [options]\n"
         "Sends generated NAVTEX messages through both receive paths (standard and sensitive)\n"
         "at a sweep of signal-to-noise ratios and impairments, and prints a markdown report\n"
         "with the two paths side by side. With --noise-hours, feeds noise alone instead and\n"
         "reports what each path hands over and files from it.\n"
         "  --quick             a short run: SNR -10,-6,-2,2,6, offset +20 Hz, rate error\n"
         "                      +0.5 %, 2 messages a point\n"
         "  --snr LIST          SNR steps in dB, FROM:TO:STEP or a,b,c\n"
         "                      (default -12,-10,-8,-7,-6,-5,-4,-2,0,2,4,6,10)\n"
         "  --path P            standard, sensitive or both (default both)\n"
         "  --impairments LIST  any of tune,offset,rate,fading,crashes, each measured alone on an\n"
         "                      otherwise clean signal (default all)\n"
         "                      and the fading channels and bursts: rayleigh (0.1, 0.5, 1 and\n"
         "                      2 Hz) or rayleigh:FD, watterson (all six conditions) or\n"
         "                      watterson:C with C one of mid-quiet, mid-moderate,\n"
         "                      mid-disturbed, low-quiet, low-moderate, low-disturbed, and\n"
         "                      bursts (10 ms) or bursts:MS\n"
         "  --offsets LIST      tuning offsets in Hz (default -30,-20,-10,10,20,30)\n"
         "  --rates LIST        bit-rate errors in percent (default -0.5,0.5)\n"
         "  --fade-depth DB     fading from peak to trough (default 15)\n"
         "  --fade-period S     one fade cycle in seconds (default 10)\n"
         "  --crash-rate N      static crashes per second (default 3)\n"
         "  --crash-level DB    crash peak rms over the level signal plus noise are held at\n"
         "                      (default 20)\n"
         "  --burst-rate N      noise bursts per second (default 1)\n"
         "  --burst-level DB    burst rms over the level signal plus noise are held at\n"
         "                      (default 20)\n"
         "  --seed N            message m is sent with noise and fading seeded by N + m, the\n"
         "                      noise runs by N + 89000 (default 1001)\n"
         "  --clean-first       file a clean copy of each message first, then receive the\n"
         "                      impaired repeat, and count stored copies made worse\n"
         "  --integrity         print only the messages filed under a header not sent and the\n"
         "                      stored copies made worse, per point and path\n"
         "  --ideal             print the ideal receiver's character error rates on the run's\n"
         "                      fading channels (rayleigh and watterson ones) instead\n"
         "  --messages N        messages per point (default 10)\n"
         "  --language L        english, japanese or both (default both)\n"
         "  --fixed-language    set the receiver to the language sent, automatic mode off\n"
         "                      (default: the program's automatic mode, starting in Japanese)\n"
         "  --readme            measure on tune only (unless --impairments says otherwise) and\n"
         "                      print only the on-tune table, both paths and services\n"
         "  --noise-hours H     false alarms: H hours of noise alone through each path, plain\n"
         "                      and with crashes unless --impairments leaves crashes out\n"
         "  --jobs N            worker threads (default: one per processor)\n";
}

}  // namespace seaherald::sensitivity
