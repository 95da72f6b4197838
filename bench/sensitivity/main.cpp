// seaherald-sensitivity: how well the receiver decodes as the signal weakens, is mistuned or
// mistimed. Prints a markdown table on standard output; progress goes to standard error.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

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

int Run(const SweepOptions& options) {
  const std::vector<SweepPoint> points = PointsOf(options);
  const bool showProgress = ::isatty(STDERR_FILENO) != 0;
  const ScratchRoot scratch;
  const auto started = std::chrono::steady_clock::now();
  const std::vector<MeasuredPoint> measured =
      RunSweep(points, options.messagesPerPoint, options.jobs > 0 ? options.jobs : DefaultJobs(),
               options.fixedLanguage ? ReceiverMode::FixedLanguage : ReceiverMode::Automatic,
               scratch.Path(), [&](int done, int total) {
                 if (showProgress) std::fprintf(stderr, "\r%d of %d messages", done, total);
               });
  if (showProgress) std::fprintf(stderr, "\n");
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
  WriteSweepReport(std::cout, options, measured, elapsed.count());
  return 0;
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
