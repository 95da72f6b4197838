#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "bench/sensitivity/SweepPoint.h"
#include "tests/support/Fading.h"
#include "tests/support/Transmission.h"

namespace seaherald::sensitivity {

// The kinds of impairment a run measures, each on an otherwise clean signal.
// Channel stands for every fading channel named (Rayleigh, Watterson), Bursts for every burst
// length named.
enum class Impairment { OnTune, Offset, RateError, Fading, Crashes, Channel, Bursts };

// Message m of a run is sent with noise seed first + m, whatever the point.
inline constexpr std::uint32_t DefaultFirstSeed = 1001;

struct SweepOptions {
  std::vector<testsignal::Language> languages{testsignal::Language::English,
                                              testsignal::Language::Japanese};
  std::vector<ReceivePath> paths{BothPaths.begin(), BothPaths.end()};
  std::vector<double> snrDb;  // in the order measured
  std::vector<Impairment> impairments{Impairment::OnTune, Impairment::Offset, Impairment::RateError,
                                      Impairment::Fading, Impairment::Crashes};
  std::vector<double> offsetsHz{-30.0, -20.0, -10.0, 10.0, 20.0, 30.0};
  std::vector<double> rateErrors{-0.005, 0.005};  // relative
  testsignal::FadingParameters fading{.depthDb = 15.0, .periodSeconds = 10.0};
  CrashModel crashes;
  std::vector<ChannelModel> channels;    // measured when Impairment::Channel is named
  std::vector<double> burstDurationsMs;  // measured when Impairment::Bursts is named
  BurstModel bursts;                     // rate and level of every burst length
  std::uint32_t firstSeed = DefaultFirstSeed;
  // File a clean copy of each message first, then receive the impaired repeat into the same
  // window, and count the stored copies the repeat made worse.
  bool cleanFirst = false;
  bool integrityTable = false;  // print only the wrong-header and worse-copy counts
  bool idealTable = false;      // print the ideal receiver's error rates on the run's channels
  int messagesPerPoint = 10;
  int jobs = 0;                      // worker threads; 0: one per processor
  bool fixedLanguage = false;        // receiver set to the language sent, automatic mode off
  bool readmeTable = false;          // print only the on-tune table of both paths and both services
  std::optional<double> noiseHours;  // measure false alarms on this much noise instead
  bool help = false;
  // The command that gives these options, as the report prints it for reproducing the run.
  std::string commandLine = "seaherald-sensitivity";
};

// The SNR steps of a full run and of --quick.
std::vector<double> DefaultSnrSteps();
std::vector<double> QuickSnrSteps();

// Reads the command line (without the program name). Throws std::invalid_argument with a
// message for the user on anything it does not understand.
SweepOptions ParseSweepOptions(std::span<const std::string> arguments);

std::string SweepUsage();

}  // namespace seaherald::sensitivity
