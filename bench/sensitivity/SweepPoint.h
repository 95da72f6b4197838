#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bench/sensitivity/CharacterErrors.h"
#include "tests/support/Fading.h"
#include "tests/support/FadingChannel.h"
#include "tests/support/Transmission.h"

namespace seaherald::sensitivity {

// The decoder's two receive paths, chosen by the settings key DecSens.
enum class ReceivePath { Standard, Sensitive };
inline constexpr std::array<ReceivePath, 2> BothPaths{ReceivePath::Standard,
                                                      ReceivePath::Sensitive};
constexpr std::size_t PathIndex(ReceivePath path) {
  return path == ReceivePath::Standard ? 0 : 1;
}

// Static crashes as the tool sends them: bursts arriving at random at `ratePerSecond`, each
// starting `levelDb` above the level the AGC holds and dying away within a few milliseconds.
struct CrashModel {
  double ratePerSecond = 3.0;
  double levelDb = 20.0;
};

// Loud bursts of noise, as from a nearby switch or engine: `durationMs` long at `levelDb` above
// the level the AGC holds, arriving at random at `ratePerSecond`.
struct BurstModel {
  double durationMs = 10.0;
  double ratePerSecond = 1.0;
  double levelDb = 20.0;
};

// A Rayleigh fading channel as the tool names it (flat with a Clarke spectrum, or two-path
// Watterson), e.g. "rayleigh 0.5 Hz".
struct ChannelModel {
  std::string name;
  std::vector<testsignal::ChannelPath> paths;
};

// One measuring point: the language sent and the impairments of the signal.
struct SweepPoint {
  testsignal::Language language = testsignal::Language::English;
  double snrDb = 0.0;      // mean signal power over noise power in 2500 Hz
  double offsetHz = 0.0;   // both tones moved by this much from where the receiver expects them
  double rateError = 0.0;  // relative bit rate error: 0.003 sends 100.3 baud
  // Slow fading of the signal; each message starts at its own phase of the fade.
  std::optional<testsignal::FadingParameters> fading{};
  std::optional<CrashModel> crashes{};    // on top of the noise
  std::optional<ChannelModel> channel{};  // fading of its own for each message
  std::optional<BurstModel> bursts{};     // on top of the noise
};

// What became of one message sent at a point.
struct MessageOutcome {
  CharacterErrors text;           // every line the decoder handed over against every line sent
  bool filed = false;             // its log file was written under the header sent
  CharacterErrors filedBody;      // the body in the log file against the body sent, when filed
  int cutLines = 0;               // lines handed over cut short
  std::uint64_t audioDigest = 0;  // of the samples the block handler was given
  int foreignLogs = 0;            // log files written under a header that was not sent
  // With a clean copy filed first: whether it was, and whether the stored text came out of the
  // repeat with more character errors than it went in with.
  bool cleanCopyFiled = false;
  bool replacedByWorse = false;
};

// The sum over the messages of a point.
struct PointResult {
  int messages = 0;
  int filed = 0;
  int cutLines = 0;
  CharacterErrors text;
  CharacterErrors filedBody;
  int foreignLogs = 0;
  int cleanCopies = 0;  // clean copies filed first (when the run files them)
  int replacedByWorse = 0;

  void Add(const MessageOutcome& outcome);
};

}  // namespace seaherald::sensitivity
