#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "relay/MqttPublisher.h"
#include "relay/NrxSentences.h"
#include "relay/UdpSender.h"

namespace seaherald::decodetool {

// What goes to standard output.
enum class OutputFormat {
  kLines,  // each line as UTF-8 text
  kJsonl,  // a JSON object per line and per completed message
  kNmea,   // NRX sentences of each completed English message
};

// --channel: which channels of the input the receivers take (counted from 0) and the names the
// output gives them. A second channel runs a second receiver.
struct ChannelChoice {
  int first = 0;
  std::optional<int> second;
  std::string firstName = "left";
  std::string secondName;
};

// What the command line asks for. Receiver settings stay empty unless given, so that a settings
// file can supply them and a value given here can win over it. New options add a field here and
// a row to the option table in DecodeOptions.cpp; nothing else in the parser changes.
struct DecodeOptions {
  std::optional<double> centerHz;
  std::optional<bool> english;  // starting language
  std::optional<bool> inverted;
  std::optional<bool> automatic;
  std::optional<int> errNum;  // error count from which a message is not filed
  std::optional<bool> errSave;
  std::optional<int> timeOut;     // seconds of audio without reception that drop a message
  std::optional<bool> sensitive;  // the high-sensitivity receive path
  std::optional<std::string> settingsFile;
  std::optional<std::string> logFolder;  // file messages there; nothing is written without it
  OutputFormat format = OutputFormat::kLines;
  NavtexFrequency frequency = NavtexFrequency::k518;  // the NRX frequency index
  std::optional<HostPort> udp;                        // NRX sentences as datagrams there
  std::optional<MqttTarget> mqtt;                     // each message's JSON to this broker
  std::optional<std::string> mqttTopic;
  bool mqttRetainHeaders = false;
  std::optional<std::string> mqttClientId;
  std::optional<HostPort> printerTcp;     // the printer text to TCP clients there
  std::optional<std::string> printerPty;  // the printer text on a pseudo-terminal linked here
  // The watch: these win over the settings file's [Watch] keys.
  std::optional<int> navArea;              // 1-21; 0 for none
  std::optional<std::string> navFreq;      // "518", "490" or "4209.5", when --frequency is given
  std::optional<std::string> stations;     // B1 letters taken
  std::optional<std::string> types;        // B2 letters taken
  std::optional<std::string> alarmTypes;   // types beyond D that raise the alarm
  std::optional<std::string> stationList;  // the station list file instead of the usual one
  // A command run for every message filed (or, without --log, completed and taken).
  std::optional<std::string> onMessage;
  bool onMessageShell = false;  // through /bin/sh -c instead of split into words
  int onMessageSeconds = 10;    // time limit of one run of the command
  ChannelChoice channels;
  // The second receiver's values: the second of an L,R pair, or the one value given for both.
  std::optional<double> centerHz2;
  std::optional<bool> english2;
  std::optional<bool> sensitive2;
  std::optional<NavtexFrequency> frequency2;
  std::optional<std::string> navFreq2;  // its watch's frequency
  std::optional<bool> inverted2;
  std::optional<bool> automatic2;
  std::string pairOption;  // the first option given as an L,R pair; it needs two receivers
  std::string input;  // a file name, or "-" for raw PCM on standard input; with --capture, a device
  // The raw PCM's layout on standard input, when given: interleaved channels and sample rate.
  std::optional<int> inputChannels;
  std::optional<int> inputRate;
  bool capture = false;  // live from the sound server instead of a file
  bool showHelp = false;
  bool showVersion = false;
};

struct UsageError {
  std::string message;
};

// --station-list names the stations of a chosen NAVAREA and nothing else: without --navarea
// (1-21) or a settings file's NavArea it would be taken and never read.
inline constexpr const char* StationListWithoutArea =
    "--station-list needs --navarea 1 to 21 (or a --settings file whose [Watch] NavArea "
    "chooses one)";

// Parses the arguments after the program name. "--name VALUE" and "--name=VALUE" both work; "--"
// ends the options, so a file may be called "-x".
std::variant<DecodeOptions, UsageError> ParseDecodeOptions(std::span<const std::string_view> args);

// The text that --help prints.
std::string DecodeUsage();

// The line that --version prints.
std::string DecodeVersion();

}  // namespace seaherald::decodetool
