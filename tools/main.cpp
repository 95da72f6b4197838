// seaherald-decode: runs the receiver's block path on a recording or a raw PCM pipe and prints
// the decoded lines.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "tools/DecodeOptions.h"
#include "tools/DecodeRunner.h"
#include "tools/LinePrinter.h"
#include "tools/RawPcmSource.h"
#include "tools/SoundFileSource.h"
#include "tools/TerminalProgress.h"

namespace {

using namespace seaherald::decodetool;

constexpr int ExitDecoded = 0;
constexpr int ExitInputProblem = 1;
constexpr int ExitUsage = 2;

void Complain(const std::string& message) {
  std::fprintf(stderr, "seaherald-decode: %s\n", message.c_str());
}

std::unique_ptr<BlockSource> OpenSource(const std::string& input) {
  if (input == "-") return std::make_unique<RawPcmSource>(stdin);
  return std::make_unique<SoundFileSource>(input);
}

int Decode(const DecodeOptions& options) {
  std::unique_ptr<BlockSource> source = OpenSource(options.input);
  LinePrinter printer(stdout);
  DecodeRunner runner({.centerHz = options.centerHz,
                       .english = options.english,
                       .inverted = options.inverted,
                       .automatic = options.automatic},
                      printer);
  std::unique_ptr<TerminalProgress> progress;
  if (options.input != "-" && isatty(STDERR_FILENO) != 0) {
    progress = std::make_unique<TerminalProgress>(stderr, source->DurationSeconds());
    printer.SetBeforeLine([&progress] { progress->Clear(); });
  }
  runner.Run(*source, progress.get());
  if (progress) progress->Clear();
  if (const auto defect = source->Defect()) {
    Complain(*defect);
    return ExitInputProblem;
  }
  return ExitDecoded;
}

}  // namespace

int main(int argc, char** argv) {
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
