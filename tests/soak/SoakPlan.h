#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "tests/support/Transmission.h"

namespace seaherald::soak {

// How a broadcast reaches the receiver.
enum class Condition {
  Clean,      // strong, well tuned: must be filed whole
  Clipped,    // strong but driven far past full scale: saturated samples throughout
  Noisy,      // 6 to 12 dB SNR, mistuned and mistimed within the receiver's range
  Threshold,  // 0 to 4 dB SNR: anything may happen
  Gap,        // strong, with a dropout (silence) or a crash of static inside the text
  BrokenOff,  // strong, but the station stops in the middle of the text
};
inline constexpr int ConditionCount = 6;
std::string_view ConditionName(Condition condition);

enum class Interruption { None, Silence, Static };

// One message as sent, with everything needed to make its audio and to judge its fate.
struct BroadcastPlan {
  int serial = 0;
  Condition condition = Condition::Clean;
  testsignal::Transmission transmission;
  std::string header;  // Shift-JIS, as the log file is named
  std::string body;    // Shift-JIS lines with CR LF: what a perfect reception files
  bool inverted = false;
  double offsetHz = 0.0;
  double rateError = 0.0;
  double amplitude = 0.0;
  std::optional<double> snrDb;
  Interruption interruption = Interruption::None;
  std::size_t interruptionAtBit = 0;
  double interruptionSeconds = 0.0;

  bool MustBeFiled() const {
    return condition == Condition::Clean || condition == Condition::Clipped;
  }
};

// What the receiver hears between messages.
enum class QuietKind {
  Silence,  // digital zeros: the receiver muted or the sound card starved
  Hiss,     // band noise without a signal
  Static,   // a crash of static: full-scale saturated samples
  Phasing,  // a station's phasing signal with no message after it
};

struct QuietPlan {
  QuietKind kind = QuietKind::Silence;
  double seconds = 0.0;
  double hissDeviation = 0.0;
  testsignal::Language phasingLanguage = testsignal::Language::English;
};

using Segment = std::variant<BroadcastPlan, QuietPlan>;

// Signal plus noise is held near this rms level during a broadcast, as a receiver's AGC would.
inline constexpr double BroadcastRmsLevel = 3000.0;
// Far past full scale, so nearly every sample of a clipped broadcast saturates.
inline constexpr double ClippedAmplitude = 200000.0;

// The FSK amplitude that gives BroadcastRmsLevel in total at `snrDb` (noise white up to 22 050
// Hz), or the whole level as signal without noise.
double AmplitudeFor(std::optional<double> snrDb);

}  // namespace seaherald::soak
