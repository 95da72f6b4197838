// seaherald-sensitivity: how well each receive path decodes as the signal weakens, is mistuned,
// mistimed, faded or hit by static, and what it makes of noise alone. Prints a markdown report on
// standard output; progress goes to standard error.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/sensitivity/IdealReceiver.h"
#include "bench/sensitivity/NoiseReport.h"
#include "bench/sensitivity/NoiseRun.h"
#include "bench/sensitivity/Sweep.h"
#include "bench/sensitivity/SweepOptions.h"
#include "bench/sensitivity/SweepReport.h"

namespace {

using namespace seaherald::sensitivity;

// A folder of our own under the system's temporary folder, removed with everything in it.
class ScratchRoot {
 public:
  ScratchRoot() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "seaherald-sensitivity-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create a folder under " +
                               std::filesystem::temp_directory_path().string());
    }
    path_ = pattern;
  }
  ~ScratchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchRoot(const ScratchRoot&) = delete;
  ScratchRoot& operator=(const ScratchRoot&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

int DefaultJobs() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

std::function<void(int, int)> ProgressPrinter(const char* unit) {
  const bool showProgress = ::isatty(STDERR_FILENO) != 0;
  return [showProgress, unit](int done, int total) {
    if (showProgress) std::fprintf(stderr, "\r%d of %d %s", done, total, unit);
    if (showProgress && done == total) std::fprintf(stderr, "\n");
  };
}

double SecondsSince(std::chrono::steady_clock::time_point started) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

int RunNoiseHours(const SweepOptions& options, int jobs, const std::filesystem::path& scratch) {
  const bool withCrashes = std::find(options.impairments.begin(), options.impairments.end(),
                                     Impairment::Crashes) != options.impairments.end();
  const auto started = std::chrono::steady_clock::now();
  const std::vector<NoiseOutcome> outcomes =
      RunNoise(*options.noiseHours, options.paths,
               withCrashes ? std::optional(options.crashes) : std::nullopt, jobs, scratch,
               ProgressPrinter("noise runs"), NoiseSeedFor(options.firstSeed));
  WriteNoiseReport(std::cout, outcomes, options.commandLine, SecondsSince(started));
  return 0;
}

int RunSweep(const SweepOptions& options, int jobs, const std::filesystem::path& scratch) {
  const auto started = std::chrono::steady_clock::now();
  const std::vector<MeasuredPoint> measured = RunSweep(
      PointsOf(options), options.messagesPerPoint, options.paths, jobs,
      {.mode = options.fixedLanguage ? ReceiverMode::FixedLanguage : ReceiverMode::Automatic,
       .firstSeed = options.firstSeed,
       .cleanFirst = options.cleanFirst},
      scratch, ProgressPrinter("messages"));
  if (options.readmeTable) {
    WriteOnTuneTable(std::cout, options, measured);
  } else if (options.integrityTable) {
    WriteIntegrityTable(std::cout, options, measured);
  } else {
    WriteSweepReport(std::cout, options, measured, SecondsSince(started));
  }
  return 0;
}

int Run(const SweepOptions& options) {
  const ScratchRoot scratch;
  const int jobs = options.jobs > 0 ? options.jobs : DefaultJobs();
  if (options.idealTable) {
    WriteIdealTable(std::cout, options, jobs, ProgressPrinter("ideal points"));
    return 0;
  }
  return options.noiseHours ? RunNoiseHours(options, jobs, scratch.Path())
                            : RunSweep(options, jobs, scratch.Path());
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  SweepOptions options;
  try {
    options = ParseSweepOptions(arguments);
  } catch (const std::invalid_argument& error) {
    std::cerr << "seaherald-sensitivity: " << error.what() << "\n";
    return 2;
  }
  if (options.help) {
    std::cout << SweepUsage();
    return 0;
  }
  try {
    return Run(options);
  } catch (const std::exception& error) {
    std::cerr << "seaherald-sensitivity: " << error.what() << "\n";
    return 1;
  }
}
