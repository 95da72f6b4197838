// seaherald-decode: runs the receiver's block path on a recording or a raw PCM pipe, prints the
// decoded lines and, with --log, files the messages as the receiver window does.
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "msglog/BroadcastSchedule.h"
#include "relay/NetworkOutputs.h"
#include "tools/CompletionFanOut.h"
#include "tools/DecodeOptions.h"
#include "tools/DecodeRunner.h"
#include "tools/FilingSummary.h"
#include "tools/JsonLinePrinter.h"
#ifdef SEAHERALD_LIVE_CAPTURE
#include "tools/LiveCapture.h"
#endif
#include "tools/LinePrinter.h"
#include "tools/MessageCommand.h"
#include "tools/MessageFiling.h"
#include "tools/NmeaPrinter.h"
#include "tools/RawPcmSource.h"
#include "tools/ReceiverOutputs.h"
#include "tools/RunSettings.h"
#include "tools/SoundFileSource.h"
#include "tools/TerminalProgress.h"
#include "tools/WatchSetup.h"

namespace {

using namespace seaherald::decodetool;

constexpr int ExitDecoded = 0;
constexpr int ExitInputProblem = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNotFiled = 3;
constexpr int ExitNotDelivered = 4;

// How long the end of a run waits for the broker to acknowledge what was published.
constexpr std::chrono::seconds MqttFlushLimit{10};

void Complain(const std::string& message) {
  std::fprintf(stderr, "seaherald-decode: %s\n", message.c_str());
}

std::unique_ptr<BlockSource> OpenSource(const DecodeOptions& options) {
  if (options.input == "-") {
    const RawPcmLayout layout{options.inputChannels.value_or(1),
                              options.inputRate.value_or(RawPcmLayout{}.rate)};
    return std::make_unique<RawPcmSource>(stdin, layout, options.channels.first,
                                          options.channels.second);
  }
  return std::make_unique<SoundFileSource>(options.input, options.channels.first,
                                           options.channels.second);
}

// Where messages go with --log; a folder that cannot be made is told at once, and every message
// that cannot be written into it is told again as the window tells it.
std::optional<FilingTarget> FilingTargetFor(const DecodeOptions& options,
                                            std::function<void(const std::string&)> report) {
  if (!options.logFolder) return std::nullopt;
  if (const auto problem = CreateLogFolder(*options.logFolder)) report(*problem);
  return FilingTarget{*options.logFolder, std::move(report)};
}

// The network outputs the command line asks for; nothing when it asks for none.
std::unique_ptr<seaherald::NetworkOutputs> NetworkOutputsFor(const DecodeOptions& options) {
  if (!options.udp && !options.mqtt && !options.printerTcp && !options.printerPty) return nullptr;
  seaherald::NetworkOutputSettings settings;
  settings.nrxUdp = options.udp;
  settings.frequency = options.frequency;
  if (options.mqtt) {
    settings.mqtt = seaherald::WithCredentialsFrom(
        *options.mqtt, std::getenv("SEAHERALD_MQTT_USER"), std::getenv("SEAHERALD_MQTT_PASSWORD"));
  }
  settings.printerTcp = options.printerTcp;
  if (options.printerPty) settings.printerPty = *options.printerPty;
  return std::make_unique<seaherald::NetworkOutputs>(settings, Complain);
}

// The input to capture from, as the window names it (Shift-JIS): the one on the command line,
// else the settings file's, else the default input.
std::string CaptureDeviceName(const DecodeOptions& options, const RunSettings& run) {
  if (options.input.empty()) return run.settings.WaveInName;
  return seaherald::CodePageConverter().Cp932FromUtf8Lossy(options.input);
}

// Decodes live until SIGINT or SIGTERM; false when this build has no live sound.
bool Capture(DecodeRunner& runner, const std::string& device, const std::string& deviceId,
             const std::function<void(const std::string&)>& report) {
#ifdef SEAHERALD_LIVE_CAPTURE
  RunLiveCapture(runner, device, report, deviceId);
  return true;
#else
  (void)runner;
  (void)device;
  (void)deviceId;
  report("--capture: this build has no live sound (it was built without the window)");
  return false;
#endif
}

std::filesystem::path ExecutablePath() {
  std::error_code ignored;
  return std::filesystem::read_symlink("/proc/self/exe", ignored);
}

// The watch the settings ask for, its area's stations and their times told at the start.
seaherald::Watch AnnouncedWatch(const seaherald::Settings& settings, const DecodeOptions& options) {
  seaherald::Watch watch = WatchFromSettings(settings, options.stationList, ExecutablePath());
  if (watch.area.Chosen())
    std::fputs(seaherald::ScheduleText(watch.area, LocalUtcOffsetMinutes()).c_str(), stderr);
  return watch;
}

int Decode(const DecodeOptions& options) {
  std::unique_ptr<BlockSource> source;
  if (!options.capture) source = OpenSource(options);
  const RunSettings run = SettingsForRun(options);
  if (options.stationList && run.settings.NavArea == 0) {
    Complain(StationListWithoutArea);
    std::fprintf(stderr, "Try 'seaherald-decode --help'.\n");
    return ExitUsage;
  }
  const seaherald::Watch watch = AnnouncedWatch(run.settings, options);
  std::optional<seaherald::Watch> secondWatch;
  if (run.settings.Receiver2 && run.navFreq2 != run.settings.NavFreq) {
    seaherald::Settings tuned = run.settings;
    tuned.NavFreq = run.navFreq2;
    secondWatch = AnnouncedWatch(tuned, options);
  }
  std::unique_ptr<seaherald::NetworkOutputs> network;
  try {
    network = NetworkOutputsFor(options);
  } catch (const std::runtime_error& error) {  // an address or the pseudo-terminal is unusable
    Complain(error.what());
    return ExitUsage;
  }
  LinePrinter printer(stdout);
  JsonLinePrinter json(stdout, options.frequency, seaherald::ReceiverId(options.mqtt));
  NmeaPrinter nmea(stdout, options.frequency, Complain);
  seaherald::LineSink* lines = &printer;
  CompletionFanOut completions;
  if (options.format == OutputFormat::kJsonl) {
    lines = &json;
    completions.Add(json);
  } else if (options.format == OutputFormat::kNmea) {
    lines = &nmea;
    completions.Add(nmea);
  }
  if (network) completions.Add(*network);
  std::unique_ptr<MessageCommand> command;
  if (options.onMessage) {
    command = std::make_unique<MessageCommand>(
        CommandSettings{*options.onMessage, options.onMessageShell, options.onMessageSeconds},
        Complain);
    completions.Add(*command);
  }
  std::unique_ptr<TerminalProgress> progress;
  if (source && options.input != "-" && isatty(STDERR_FILENO) != 0) {
    progress = std::make_unique<TerminalProgress>(stderr, source->DurationSeconds());
    const auto clear = [&progress] { progress->Clear(); };
    printer.SetBeforeLine(clear);
    json.SetBeforeWrite(clear);
    nmea.SetBeforeWrite(clear);
  }
  const auto report = [&progress](const std::string& text) {
    if (progress) progress->Clear();
    Complain(text);
  };
  ReceiverOutputs outputs(options, run.frequency2, *lines, printer, json, completions);
  DecodeRunner runner(run, seaherald::SystemClock().Now(), outputs.Lines(0),
                      FilingTargetFor(options, report), outputs.Completion(0));
  if (outputs.Two()) runner.AddSecondReceiver(outputs.Lines(1), outputs.Completion(1));
  if (options.capture && options.channels.first == 1) runner.TakeRightChannelFirst();
  json.SetClock(runner.Clock());
  runner.SetWatch(&watch, secondWatch ? &*secondWatch : nullptr);
  if (source) {
    runner.Run(*source, progress.get());
  } else if (!Capture(runner, CaptureDeviceName(options, run),
                      options.input.empty() ? run.settings.WaveInId : std::string(), report)) {
    return ExitInputProblem;
  }
  if (progress) progress->Clear();
  const auto defect = source ? source->Defect() : std::nullopt;
  if (defect) Complain(*defect);
  const std::optional<FilingSummary> filing = runner.Filing();
  const std::optional<FilingSummary> secondFiling = runner.SecondFiling();
  if (filing) {
    const std::string name = secondFiling ? options.channels.firstName : std::string();
    std::fputs(DescribeFiling(*filing, *options.logFolder, name).c_str(), stderr);
  }
  if (secondFiling) {
    std::fputs(
        DescribeFiling(*secondFiling, *options.logFolder, options.channels.secondName).c_str(),
        stderr);
  }
  // Published messages are waited for even when filing failed: that exit must not lose them too.
  const std::size_t undelivered = network ? network->Flush(MqttFlushLimit) : 0;
  if (undelivered > 0)
    Complain(std::to_string(undelivered) + " message(s) not acknowledged by the MQTT broker");
  if ((filing && filing->counts.writeFailed > 0) ||
      (secondFiling && secondFiling->counts.writeFailed > 0))
    return ExitNotFiled;
  if (undelivered > 0) return ExitNotDelivered;
  return defect ? ExitInputProblem : ExitDecoded;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away must not end the filing: the printers notice EPIPE instead.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const auto parsed = ParseDecodeOptions(args);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    Complain(error->message);
    std::fprintf(stderr, "Try 'seaherald-decode --help'.\n");
    return ExitUsage;
  }
  const auto& options = std::get<DecodeOptions>(parsed);
  if (options.showHelp) {
    std::fputs(DecodeUsage().c_str(), stdout);
    return ExitDecoded;
  }
  if (options.showVersion) {
    std::fputs(DecodeVersion().c_str(), stdout);
    return ExitDecoded;
  }
  // Before any thread starts, so that every thread leaves the stop signals to the capture.
#ifdef SEAHERALD_LIVE_CAPTURE
  if (options.capture) HoldStopSignals();
#endif
  try {
    return Decode(options);
  } catch (const InputError& error) {
    Complain(error.what());
    return ExitInputProblem;
  } catch (const std::exception& error) {
    Complain(std::string("decoding stopped: ") + error.what());
    return ExitInputProblem;
  }
}
