#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "bench/sensitivity/CharacterErrors.h"
#include "tests/support/Fading.h"
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

// One measuring point: the language sent and the impairments of the signal.
struct SweepPoint {
  testsignal::Language language = testsignal::Language::English;
  double snrDb = 0.0;      // mean signal power over noise power in 2500 Hz
  double offsetHz = 0.0;   // both tones moved by this much from where the receiver expects them
  double rateError = 0.0;  // relative bit rate error: 0.003 sends 100.3 baud
  // Slow fading of the signal; each message starts at its own phase of the fade.
  std::optional<testsignal::FadingParameters> fading{};
  std::optional<CrashModel> crashes{};  // on top of the noise
};

// What became of one message sent at a point.
struct MessageOutcome {
  CharacterErrors text;           // every line the decoder handed over against every line sent
  bool filed = false;             // its log file was written under the header sent
  CharacterErrors filedBody;      // the body in the log file against the body sent, when filed
  int cutLines = 0;               // lines handed over cut short
  std::uint64_t audioDigest = 0;  // of the samples the block handler was given
};

// The sum over the messages of a point.
struct PointResult {
  int messages = 0;
  int filed = 0;
  int cutLines = 0;
  CharacterErrors text;
  CharacterErrors filedBody;

  void Add(const MessageOutcome& outcome);
};

}  // namespace seaherald::sensitivity
