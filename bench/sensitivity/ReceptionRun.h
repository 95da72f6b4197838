#pragma once

#include <cstdint>
#include <filesystem>

#include "bench/sensitivity/SweepMessages.h"
#include "bench/sensitivity/SweepPoint.h"

namespace seaherald::sensitivity {

// Signal plus noise is held at this rms level, as a receiver's AGC would hold it, so that even
// the noisiest points stay far from clipping.
inline constexpr double AudioRmsLevel = 3000.0;
inline constexpr double ReceiverCentreHz = 800.0;

// The FSK amplitude that gives AudioRmsLevel in total at `snrDb` (noise white up to 22 050 Hz).
double AmplitudeFor(double snrDb);

// How the receiver is set: the program's defaults (automatic language and polarity, starting in
// Japanese), or set by hand to the language sent with the automatic mode off.
enum class ReceiverMode { Automatic, FixedLanguage };

// Sends one message at the point's impairments, with noise seeded by `seed`, through the
// window's block handler and message log (default settings apart from the mode) into a fresh
// log folder under `scratch`, and measures what came out. The folder is removed afterwards.
MessageOutcome ReceiveMessage(const SweepPoint& point, const SweepMessage& message,
                              std::uint32_t seed, ReceiverMode mode,
                              const std::filesystem::path& scratch);

}  // namespace seaherald::sensitivity
