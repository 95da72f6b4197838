#include "tools/DecodeOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <sstream>

#include "decoder/BlockConstants.h"
#include "msglog/MessageSelection.h"
#include "platform/Version.h"
#include "tools/MessageCommand.h"
#include "tools/StreamResampler.h"

namespace seaherald::decodetool {
namespace {

constexpr double HighestCenterHz = 1500.0;  // the receiver mixes the centre up to this frequency
constexpr int MaxInputChannels = 256;

// Applies an option's value; returns an error message, empty when the value is good.
using ApplyOption = std::string (*)(std::string_view value, DecodeOptions& options);

struct OptionRow {
  std::string_view name;
  std::string_view valueName;  // empty for a switch without a value
  std::string_view help;
  ApplyOption apply;
};

std::optional<double> ParseNumber(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string ApplyCenter(std::string_view value, DecodeOptions& options) {
  const std::optional<double> hz = ParseNumber(value);
  if (!hz) return "--center needs a number of Hz, not '" + std::string(value) + "'";
  if (*hz <= 0.0 || *hz >= HighestCenterHz) {
    return "--center must be above 0 and below 1500 Hz, not " + std::string(value);
  }
  options.centerHz = *hz;
  return {};
}

// An option that takes one of two words: `yes` sets the field to true, `no` to false.
std::string ApplyEitherWord(std::string_view option, std::string_view value, std::string_view yes,
                            std::string_view no, std::optional<bool>& field) {
  if (value != yes && value != no) {
    return std::string(option) + " must be " + std::string(yes) + " or " + std::string(no) +
           ", not '" + std::string(value) + "'";
  }
  field = value == yes;
  return {};
}

std::string ApplyLanguage(std::string_view value, DecodeOptions& options) {
  return ApplyEitherWord("--lang", value, "en", "ja", options.english);
}

// A whole number of at least 1, written in plain decimal digits.
std::optional<int> ParseCountOfOne(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || text[0] == '-' || error != std::errc() || stop != end || value < 1) {
    return std::nullopt;
  }
  return value;
}

std::string CountProblem(std::string_view option, std::string_view value) {
  return std::string(option) + " must be a whole number from 1 to " +
         std::to_string(std::numeric_limits<int>::max()) + ", not '" + std::string(value) + "'";
}

std::string ApplyErrNum(std::string_view value, DecodeOptions& options) {
  options.errNum = ParseCountOfOne(value);
  return options.errNum ? std::string() : CountProblem("--errnum", value);
}

std::string ApplyTimeOut(std::string_view value, DecodeOptions& options) {
  options.timeOut = ParseCountOfOne(value);
  return options.timeOut ? std::string() : CountProblem("--timeout", value);
}

std::string ApplyPolarity(std::string_view value, DecodeOptions& options) {
  return ApplyEitherWord("--polarity", value, "inverted", "normal", options.inverted);
}

std::string ApplyMode(std::string_view value, DecodeOptions& options) {
  return ApplyEitherWord("--mode", value, "auto", "manual", options.automatic);
}

std::string ApplyDecoder(std::string_view value, DecodeOptions& options) {
  return ApplyEitherWord("--decoder", value, "sensitive", "standard", options.sensitive);
}

std::string ApplyLogFolder(std::string_view value, DecodeOptions& options) {
  if (value.empty()) return "--log needs a folder name";
  options.logFolder = std::string(value);
  return {};
}

std::string ApplySettingsFile(std::string_view value, DecodeOptions& options) {
  if (value.empty()) return "--settings needs a file name";
  options.settingsFile = std::string(value);
  return {};
}

std::string ApplyFormat(std::string_view value, DecodeOptions& options) {
  if (value == "lines") {
    options.format = OutputFormat::kLines;
  } else if (value == "jsonl") {
    options.format = OutputFormat::kJsonl;
  } else if (value == "nmea") {
    options.format = OutputFormat::kNmea;
  } else {
    return "--format must be lines, jsonl or nmea, not '" + std::string(value) + "'";
  }
  return {};
}

std::string ApplyFrequency(std::string_view value, DecodeOptions& options) {
  const std::optional<NavtexFrequency> frequency = ParseNavtexFrequency(value);
  if (!frequency) {
    return "--frequency must be 490, 518, 4209 or 424 (kHz), not '" + std::string(value) + "'";
  }
  options.frequency = *frequency;
  options.navFreq = *frequency == NavtexFrequency::k4209 ? "4209.5" : std::string(value);
  return {};
}

std::string ApplyNavArea(std::string_view value, DecodeOptions& options) {
  int area = -1;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, area);
  if (value.empty() || error != std::errc() || stop != end || area < 0 || area > 21)
    return "--navarea must be a NAVAREA number from 1 to 21 (0 for none), not '" +
           std::string(value) + "'";
  options.navArea = area;
  return {};
}

// --stations, --types, --alarm-types: letters A to Z, with or without spaces and commas.
std::string ApplyLetters(std::string_view option, std::string_view value,
                         std::optional<std::string>& field) {
  field = ParseLetterSet(value);
  if (field) return {};
  return std::string(option) + " needs letters A to Z (e.g. GEO), not '" + std::string(value) + "'";
}

std::string ApplyOnMessageSeconds(std::string_view value, DecodeOptions& options) {
  const std::optional<int> seconds = ParseCountOfOne(value);
  if (!seconds) return CountProblem("--on-message-timeout", value);
  options.onMessageSeconds = *seconds;
  return {};
}

std::string ApplyUdp(std::string_view value, DecodeOptions& options) {
  options.udp = ParseHostPort(value);
  if (options.udp) return {};
  return "--udp needs HOST:PORT (an IPv6 address in brackets), not '" + std::string(value) + "'";
}

std::string ApplyMqtt(std::string_view value, DecodeOptions& options) {
  auto parsed = ParseMqttUrl(value);
  if (auto* problem = std::get_if<std::string>(&parsed)) return "--mqtt: " + *problem;
  options.mqtt = std::get<MqttTarget>(std::move(parsed));
  return {};
}

std::string ApplyMqttTopic(std::string_view value, DecodeOptions& options) {
  if (const auto problem = MqttTopicProblem(value)) return "--mqtt-topic: " + *problem;
  options.mqttTopic = std::string(value);
  return {};
}

std::string ApplyPrinterTcp(std::string_view value, DecodeOptions& options) {
  if (value.find(':') == std::string_view::npos) {
    options.printerTcp = ParseHostPort("any:" + std::string(value));
    if (options.printerTcp) options.printerTcp->host.clear();
  } else {
    options.printerTcp = ParseHostPort(value);
  }
  if (options.printerTcp) return {};
  return "--printer-tcp needs PORT or HOST:PORT, not '" + std::string(value) + "'";
}

std::string ApplyPrinterPty(std::string_view value, DecodeOptions& options) {
  if (value.empty()) return "--printer-pty needs a path for the serial-port link";
  options.printerPty = std::string(value);
  return {};
}

// "L,R" gives each receiver its own value; one value is both receivers'. `copySecond` copies the
// option's field from the options a value was applied to into the second receiver's field.
using CopySecond = void (*)(DecodeOptions& to, const DecodeOptions& from);
std::string ApplyPerReceiver(std::string_view option, std::string_view value,
                             DecodeOptions& options, ApplyOption single, CopySecond copySecond) {
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) {
    std::string error = single(value, options);
    if (error.empty()) copySecond(options, options);
    return error;
  }
  DecodeOptions second;
  if (std::string error = single(value.substr(0, comma), options); !error.empty()) return error;
  if (std::string error = single(value.substr(comma + 1), second); !error.empty()) return error;
  copySecond(options, second);
  if (options.pairOption.empty()) options.pairOption = option;
  return {};
}

// A channel counted from 1 as the user names it; nothing for anything else.
std::optional<int> ParseChannelNumber(std::string_view text) {
  const std::optional<int> number = ParseCountOfOne(text);
  if (!number || *number > MaxInputChannels) return std::nullopt;
  return *number - 1;
}

std::string ApplyInputChannels(std::string_view value, DecodeOptions& options) {
  const std::optional<int> count = ParseCountOfOne(value);
  if (!count || *count > MaxInputChannels) {
    return "--input-channels must be a whole number from 1 to " + std::to_string(MaxInputChannels) +
           ", not '" + std::string(value) + "'";
  }
  options.inputChannels = *count;
  return {};
}

// Any rate the resampler takes to the decoder's: within a ratio of 256 either way.
std::string ApplyInputRate(std::string_view value, DecodeOptions& options) {
  const std::optional<int> hz = ParseCountOfOne(value);
  if (!hz || !StreamResampler::Supports(*hz, DecoderInputRate)) {
    return "--input-rate must be a whole number of Hz from " +
           std::to_string((DecoderInputRate + 255) / 256) + " to " +
           std::to_string(DecoderInputRate * 256) + ", not '" + std::string(value) + "'";
  }
  options.inputRate = *hz;
  return {};
}

std::string ApplyChannel(std::string_view value, DecodeOptions& options) {
  ChannelChoice& choice = options.channels;
  choice = ChannelChoice{};
  if (value == "left") return {};
  if (value == "right") {
    choice = {1, std::nullopt, "right", ""};
    return {};
  }
  if (value == "both") {
    choice = {0, 1, "left", "right"};
    return {};
  }
  const std::size_t comma = value.find(',');
  const std::string_view firstText = value.substr(0, comma);
  const std::optional<int> first = ParseChannelNumber(firstText);
  std::optional<int> second;
  const std::string_view secondText =
      comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
  if (comma != std::string_view::npos) second = ParseChannelNumber(secondText);
  if (!first || (comma != std::string_view::npos && (!second || *second == *first))) {
    return "--channel must be left, right, both, a channel N or two different channels N,M "
           "(counted from 1), not '" +
           std::string(value) + "'";
  }
  choice = {*first, second, std::string(firstText), std::string(secondText)};
  return {};
}

const std::array<OptionRow, 35> Options{{
    {"--channel", "CH",
     "left (default), right or both: one receiver on the left or right channel of the input, or "
     "two at once; N or N,M pick channels of a recording with more, counted from 1 (an SDR "
     "writing one channel per frequency)",
     ApplyChannel},
    {"--input-channels", "N",
     "raw PCM on standard input (-) has N interleaved channels (default 1), so that --channel can "
     "pick among them",
     ApplyInputChannels},
    {"--input-rate", "HZ",
     "raw PCM on standard input (-) is sampled at HZ (default 44100); other rates are resampled",
     ApplyInputRate},
    {"--center", "HZ",
     "centre between the two tones, above 0 and below 1500 (default 800); L,R for two receivers",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyPerReceiver(
           "--center", value, o, ApplyCenter,
           [](DecodeOptions& to, const DecodeOptions& from) { to.centerHz2 = from.centerHz; });
     }},
    {"--lang", "en|ja", "language to start in (default ja); L,R for two receivers",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyPerReceiver(
           "--lang", value, o, ApplyLanguage,
           [](DecodeOptions& to, const DecodeOptions& from) { to.english2 = from.english; });
     }},
    {"--invert", "", "start with inverted polarity (--polarity inverted)",
     [](std::string_view, DecodeOptions& o) {
       o.inverted = o.inverted2 = true;
       return std::string();
     }},
    {"--polarity", "normal|inverted",
     "polarity to start with (default normal); L,R for two receivers",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyPerReceiver(
           "--polarity", value, o, ApplyPolarity,
           [](DecodeOptions& to, const DecodeOptions& from) { to.inverted2 = from.inverted; });
     }},
    {"--manual", "", "keep the starting language and polarity, no automatic choice (--mode manual)",
     [](std::string_view, DecodeOptions& o) {
       o.automatic = o.automatic2 = false;
       return std::string();
     }},
    {"--mode", "auto|manual",
     "auto: choose the language and polarity from the signal (default); manual: keep the "
     "starting ones; L,R for two receivers",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyPerReceiver(
           "--mode", value, o, ApplyMode,
           [](DecodeOptions& to, const DecodeOptions& from) { to.automatic2 = from.automatic; });
     }},
    {"--decoder", "standard|sensitive",
     "receive path: the standard one, or the high-sensitivity one for weak stations (default "
     "standard); L,R for two receivers",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyPerReceiver(
           "--decoder", value, o, ApplyDecoder,
           [](DecodeOptions& to, const DecodeOptions& from) { to.sensitive2 = from.sensitive; });
     }},
    {"--log", "DIR", "file each complete message in DIR as the receiver does (created if missing)",
     ApplyLogFolder},
    {"--errnum", "N",
     "do not file a message with N or more lines cut short or, with the sensitive "
     "path, holding a guessed character (default 10)",
     ApplyErrNum},
    {"--no-errsave", "", "file messages whatever their number of errors",
     [](std::string_view, DecodeOptions& o) {
       o.errSave = false;
       return std::string();
     }},
    {"--timeout", "S", "drop an unfinished message after S seconds without reception (default 30)",
     ApplyTimeOut},
    {"--capture", "",
     "decode live from the sound server until SIGINT or SIGTERM; the input named instead of FILE "
     "(the window's device name), else the settings file's device, else the default input",
     [](std::string_view, DecodeOptions& o) {
       o.capture = true;
       return std::string();
     }},
    {"--format", "lines|jsonl|nmea",
     "what goes to standard output: the lines as text (default), JSON objects for lines and "
     "messages, or NRX sentences of English messages",
     ApplyFormat},
    {"--frequency", "490|518|4209|424",
     "frequency (kHz) the receiver is tuned to, in the JSON objects and the NRX sentences, "
     "whose stations --navarea names (default 518); NRX has no code for 424 and leaves its "
     "frequency field empty; L,R for two "
     "receivers",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyPerReceiver("--frequency", value, o, ApplyFrequency,
                               [](DecodeOptions& to, const DecodeOptions& from) {
                                 to.frequency2 = from.frequency;
                                 to.navFreq2 = from.navFreq;
                               });
     }},
    {"--udp", "HOST:PORT", "also send the NRX sentences as UDP datagrams there, whatever --format",
     ApplyUdp},
    {"--mqtt", "URL",
     "publish each completed message's JSON to the broker mqtt://[USER[:PASSWORD]@]HOST[:PORT] "
     "with QoS 1; mqtts://... for TLS, checked against the system's CA certificates",
     ApplyMqtt},
    {"--mqtt-topic", "TOPIC", "topic to publish to (default seaherald/HOSTNAME)", ApplyMqttTopic},
    {"--mqtt-retain-headers", "",
     "also publish each message retained on TOPIC/message/HEADER, for dashboards",
     [](std::string_view, DecodeOptions& o) {
       o.mqttRetainHeaders = true;
       return std::string();
     }},
    {"--mqtt-client-id", "ID",
     "the MQTT client id, also the receiver named in the JSON (default seaherald-HOSTNAME-PID, "
     "the receiver being HOSTNAME)",
     [](std::string_view value, DecodeOptions& o) {
       if (const auto problem = MqttClientIdProblem(value)) return "--mqtt-client-id: " + *problem;
       o.mqttClientId = std::string(value);
       return std::string();
     }},
    {"--printer-tcp", "[HOST:]PORT",
     "serve each English message as a receiver prints it (ZCZC ... NNNN, CR LF) to every TCP "
     "client of PORT",
     ApplyPrinterTcp},
    {"--printer-pty", "PATH",
     "the same text on a pseudo-terminal that serial-port readers open as PATH (a link made and "
     "removed by the tool)",
     ApplyPrinterPty},
    {"--navarea", "N",
     "the NAVAREA (1-21) whose stations name the English messages, on the --frequency given "
     "(0: the receiver's own five stations)",
     ApplyNavArea},
    {"--station-list", "FILE",
     "read the NAVTEX station list from FILE instead of the installed one (with a NAVAREA "
     "chosen)",
     [](std::string_view value, DecodeOptions& o) {
       if (value.empty()) return std::string("--station-list needs a file name");
       o.stationList = std::string(value);
       return std::string();
     }},
    {"--stations", "LETTERS", "take only messages from these stations (B1), whatever their type",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyLetters("--stations", value, o.stations);
     }},
    {"--types", "LETTERS",
     "take only these message types (B2); A, B, D and L, and serial 00, are always taken",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyLetters("--types", value, o.types);
     }},
    {"--alarm-types", "LETTERS",
     "types that raise the alarm besides D (search and rescue), which always does",
     [](std::string_view value, DecodeOptions& o) {
       return ApplyLetters("--alarm-types", value, o.alarmTypes);
     }},
    {"--on-message", "COMMAND",
     "run COMMAND for every message filed or that the log folder could not take: the text on its "
     "standard input, the "
     "header, station, "
     "type, language and alarm in SEAHERALD_* variables; split into words, no shell",
     [](std::string_view value, DecodeOptions& o) {
       if (value.find_first_not_of(" \t") == std::string_view::npos)
         return std::string("--on-message needs a command");
       o.onMessage = std::string(value);
       return std::string();
     }},
    {"--on-message-shell", "", "run the --on-message command through /bin/sh -c",
     [](std::string_view, DecodeOptions& o) {
       o.onMessageShell = true;
       return std::string();
     }},
    {"--on-message-timeout", "S",
     "stop a run of the --on-message command after S seconds (default 10)", ApplyOnMessageSeconds},
    {"--settings", "FILE",
     "take the receiver settings from the window's settings file FILE (only read); options "
     "given here win over it",
     ApplySettingsFile},
    {"--help", "", "show this text",
     [](std::string_view, DecodeOptions& o) {
       o.showHelp = true;
       return std::string();
     }},
    {"--version", "", "show the version",
     [](std::string_view, DecodeOptions& o) {
       o.showVersion = true;
       return std::string();
     }},
}};

constexpr std::size_t HelpColumn = 20;
constexpr std::size_t HelpWidth = 88;

// One option's line of help, its text wrapped under itself.
std::string WrapHelp(const std::string& left, std::string_view help) {
  std::string wrapped = left;
  std::size_t lineLength = left.size();
  while (!help.empty()) {
    const std::size_t space = help.find(' ');
    const std::string_view word = help.substr(0, space);
    const bool fresh = lineLength == left.size();
    if (!fresh && lineLength + 1 + word.size() > HelpWidth) {
      wrapped.append("\n").append(left.size(), ' ');
      lineLength = left.size();
    } else if (!fresh) {
      wrapped += ' ';
      ++lineLength;
    }
    wrapped += word;
    lineLength += word.size();
    help = space == std::string_view::npos ? std::string_view() : help.substr(space + 1);
  }
  return wrapped + "\n";
}

// What --channel and the L,R pairs cannot do with this input.
std::optional<std::string> ChannelProblem(const DecodeOptions& options) {
  const ChannelChoice& channels = options.channels;
  if (!options.pairOption.empty() && !channels.second) {
    return options.pairOption +
           " gives L,R values for two receivers: decode two channels (--channel both)";
  }
  if (options.capture && (channels.first > 1 || channels.second.value_or(0) > 1)) {
    return std::string("--capture has two channels: --channel left, right, both, 1, 2 or 1,2");
  }
  const bool rawInput = !options.capture && options.input == "-";
  if (!rawInput && (options.inputChannels || options.inputRate)) {
    return std::string(
        "--input-channels and --input-rate describe raw PCM on standard input (-); a recording "
        "or the sound input tells its own");
  }
  const int rawChannels = options.inputChannels.value_or(1);
  if (rawInput && std::max(channels.first, channels.second.value_or(0)) >= rawChannels) {
    return "standard input has " + std::to_string(rawChannels) +
           " channel(s) of raw PCM (--input-channels): --channel cannot pick channel " +
           std::to_string(std::max(channels.first, channels.second.value_or(0)) + 1);
  }
  return std::nullopt;
}

const OptionRow* FindOption(std::string_view name) {
  for (const OptionRow& row : Options) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

}  // namespace

std::variant<DecodeOptions, UsageError> ParseDecodeOptions(std::span<const std::string_view> args) {
  DecodeOptions options;
  bool haveInput = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (!isOption) {
      if (haveInput)
        return UsageError{"only one input may be given, not also '" + std::string(arg) + "'"};
      options.input = std::string(arg);
      haveInput = true;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    const OptionRow* row = FindOption(name);
    if (row == nullptr) return UsageError{"unknown option '" + std::string(name) + "'"};
    std::string_view value;
    if (row->valueName.empty()) {
      if (equals != std::string_view::npos) {
        return UsageError{std::string(name) + " takes no value"};
      }
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return UsageError{std::string(name) + " needs a value (" + std::string(row->valueName) + ")"};
    }
    if (std::string error = row->apply(value, options); !error.empty()) return UsageError{error};
  }
  if (!haveInput && !options.capture && !options.showHelp && !options.showVersion)
    return UsageError{"no input given (a file name, or - for standard input, or --capture)"};
  if (const std::optional<std::string> problem = ChannelProblem(options))
    return UsageError{*problem};
  // With a settings file the area is known once it is read (see Decode).
  if (options.stationList && options.navArea.value_or(0) == 0 &&
      (!options.settingsFile || options.navArea))
    return UsageError{StationListWithoutArea};
  if (options.mqttTopic && !options.mqtt) return UsageError{"--mqtt-topic needs --mqtt"};
  if (options.mqttRetainHeaders && !options.mqtt)
    return UsageError{"--mqtt-retain-headers needs --mqtt"};
  if (options.mqtt && options.mqttTopic) options.mqtt->topic = *options.mqttTopic;
  if (options.mqttClientId && !options.mqtt) return UsageError{"--mqtt-client-id needs --mqtt"};
  if (options.mqtt) options.mqtt->retainHeaders = options.mqttRetainHeaders;
  if (options.mqtt && options.mqttClientId) options.mqtt->clientId = *options.mqttClientId;
  if (options.onMessageShell && !options.onMessage)
    return UsageError{"--on-message-shell needs --on-message"};
  if (options.onMessage && !options.onMessageShell) {
    const auto words = SplitCommandWords(*options.onMessage);
    if (!words)
      return UsageError{"--on-message: a quote is not closed in '" + *options.onMessage + "'"};
    if (words->front().empty())
      return UsageError{"--on-message: the command's first word is empty in '" +
                        *options.onMessage + "'"};
  }
  return options;
}

std::string DecodeVersion() {
  return std::string("seaherald-decode ") + ProgramVersion + "\n";
}

std::string DecodeUsage() {
  std::ostringstream text;
  text << "Usage: seaherald-decode [options] FILE|-\n"
          "       seaherald-decode --capture [options] [DEVICE]\n"
          "Decodes NAVTEX (English SITOR-B and the Japanese-language service) from a recording\n"
          "and prints every received line as UTF-8; a line cut short by lost signal ends in "
          "\"...\".\n"
          "FILE is any format libsndfile reads, at any sample rate; \"-\" reads raw signed 16-bit\n"
          "little-endian mono PCM at 44100 Hz from standard input.\n\nOptions:\n";
  for (const OptionRow& row : Options) {
    std::string left = "  ";
    left += row.name;
    if (!row.valueName.empty()) left.append(" ").append(row.valueName);
    left.resize(std::max<std::size_t>(left.size() + 2, HelpColumn), ' ');
    text << WrapHelp(left, row.help);
  }
  text
      << "\n"
         "Without --log nothing is written anywhere. With --log every complete message is filed\n"
         "as the receiver window files it (one file per header, of two receptions the one with\n"
         "fewer errors kept), and a summary of the messages goes to standard error at the end.\n"
         "\n"
         "Live: --capture decodes what the sound server's input hears, through the same capture\n"
         "and block path as the window, until SIGINT or SIGTERM; then the message in progress is\n"
         "dropped (what was filed stays filed) and the summary is printed. When the server or the\n"
         "device goes away it is tried again every 3 seconds, as the window does.\n"
         "\n"
         "Outputs: --format jsonl prints one JSON object per line: each handed-over line and\n"
         "each completed message (header, station and type names in English and Japanese,\n"
         "time, cut lines, whether and how it was filed, text); the fields are described in\n"
         "docs/json-output.md. --format nmea prints, for each completed English message, NRX\n"
         "sentences (talker CR) as IEC 61162-1 defines them; --udp sends the same sentences,\n"
         "one per datagram. Messages of the Japanese-language service are never sent as NRX:\n"
         "NMEA's character set cannot carry their text (use jsonl or --mqtt for them); the\n"
         "tool says so once. --printer-tcp and --printer-pty give English messages as a\n"
         "receiver prints them on its serial port, for programs that read such a port. --mqtt\n"
         "publishes every completed message's JSON object with QoS 1; while the broker is away\n"
         "messages wait and go out when it is back, and at the end the tool waits up to 10 s\n"
         "for the broker to acknowledge them.\n"
         "\n"
         "Watch: --navarea names the stations of English messages from the NAVTEX station list\n"
         "(the user's copy seaherald/navtex-stations.txt in the configuration folder, else the\n"
         "installed one); the start shows the area's stations and their broadcast times.\n"
         "--stations and --types drop the other messages (not filed, not sent, counted in the\n"
         "summary). The alarm types mark messages \"alarm\":true in JSON and MQTT and set\n"
         "SEAHERALD_ALARM=1 for --on-message. The command gets SEAHERALD_HEADER, _STATION,\n"
         "_STATION_NAME, _TYPE, _TYPE_NAME, _LANGUAGE (en or ja), _ALARM (1 or 0), _RECEIVED,\n"
         "_FILING and, with two receivers, _CHANNEL; without --log it runs for every message\n"
         "taken. It runs beside the decoding, and one that fails or outlives its time limit is\n"
         "reported (and killed) without stopping reception.\n"
         "\n"
         "Time: seconds are counted from the audio, ten blocks of 0.1 s to a second, on a clock\n"
         "that starts at the wall-clock time when decoding starts. The time-out therefore acts\n"
         "the same at any decoding speed, and the \"Last received\" stamp of a log file is the\n"
         "start time plus the audio time at which the message's end marker arrived.\n"
         "\n"
         "Two receivers: --channel both decodes both channels of the input at once, each with\n"
         "its own decoder and message in progress, both filing into the same --log folder (of\n"
         "two receptions of one header, also one per channel, the one with fewer errors kept).\n"
         "--center, --lang, --polarity, --mode, --decoder and --frequency take L,R pairs; one\n"
         "value is both receivers' (--invert and --manual act on both). Each receiver names its\n"
         "messages' stations from --navarea on its own frequency. Each printed line begins with\n"
         "its channel's name (\"left: \"), each JSON object has a \"channel\" field, messages\n"
         "carry their receiver's frequency, the summary is given per channel. A recording with\n"
         "more channels (an SDR writing one channel per frequency) gives any one or two of them\n"
         "as --channel N or N,M, counted from 1.\n"
         "\n"
         "Settings: without --settings the receiver's defaults apply (centre 800 Hz, Japanese,\n"
         "normal polarity, automatic mode, ErrNum 10, ErrSave on, TimeOut 30, standard path).\n"
         "--settings reads CentF, DecLang, DecInv, AutoSet, ErrNum, ErrSave, TimeOut, DecSens\n"
         "(the receive path), the [Watch] keys and, for --capture, WaveInName from the file;\n"
         "with two channels the second receiver takes CentF2, DecLang2, DecInv2, AutoSet2,\n"
         "DecSens2 and NavFreq2 (its stations' and its messages' frequency once chosen);\n"
         "ErrNum and TimeOut below 1 are raised to 1 as at the window's start-up; a [Watch]\n"
         "value that cannot be used is refused unless its option is given. The file is\n"
         "never written, and no log is ever deleted (AutoLogDelete is not acted on).\n"
         "\n"
         "Exit status: 0 when the input was decoded to its end, 1 when it, the settings file or\n"
         "the station list could not be read or used or the input ended early (what was there\n"
         "is still decoded), 2 for a wrong command line or a network address or pseudo-terminal\n"
         "that cannot be used (a --udp host that cannot be resolved, a TCP port in use), 3 when\n"
         "a message could not be written to the log folder, 4 when the MQTT broker had not\n"
         "acknowledged every message 10 s after the end (3 wins over 4, 4 over 1; the broker is\n"
         "waited for in every case). --capture ends with 0 when stopped by SIGINT or SIGTERM.\n";
  return text.str();
}

}  // namespace seaherald::decodetool
