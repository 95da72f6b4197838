#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "bench/sensitivity/ReceivingWindow.h"
#include "bench/sensitivity/SweepMessages.h"
#include "bench/sensitivity/SweepPoint.h"
#include "tests/support/ImpulseNoise.h"

namespace seaherald::sensitivity {

// Signal plus noise is held at this rms level, as a receiver's AGC would hold it, so that even
// the noisiest points stay far from clipping. Static crashes come on top.
inline constexpr double AudioRmsLevel = 3000.0;
inline constexpr double ReceiverCentreHz = 800.0;

// The FSK amplitude that gives AudioRmsLevel in total at `snrDb` (noise white up to 22 050 Hz).
double AmplitudeFor(double snrDb);

// The test signal's crashes for the model: the peak relative to AudioRmsLevel.
testsignal::ImpulseParameters ImpulsesFor(const CrashModel& crashes);

// The test signal's noise bursts for the model: held at their level, then gone within 1 ms.
testsignal::ImpulseParameters ImpulsesFor(const BurstModel& bursts);

// Where in its fade message `seed` starts: spread evenly over the period from one seed to the
// next, so that the troughs hit different parts of different messages.
double FadeStartPhase(std::uint32_t seed);

// The audio of one message at the point's impairments, with noise (and crashes, bursts and
// fading channels) seeded by `seed`: the same arguments give the same samples. Throws
// std::invalid_argument for a point with both crashes and bursts.
std::vector<std::int16_t> MessageAudio(const SweepPoint& point, const SweepMessage& message,
                                       std::uint32_t seed);

// The same message on tune, unimpaired and 30 dB over the noise: a copy filed without errors.
std::vector<std::int16_t> CleanAudio(const SweepPoint& point, const SweepMessage& message,
                                     std::uint32_t seed);

// Feeds `audio` through the window's block handler and message log (default settings apart from
// the path and the mode) into a fresh log folder under `scratch`, and measures what came out
// against `message`. With `cleanFirst`, that audio goes through the same window first (the
// lines it hands over are not counted), and the stored copy is compared before and after
// `audio`. The folder is removed afterwards.
MessageOutcome ReceiveAudio(std::span<const std::int16_t> audio, const SweepMessage& message,
                            ReceivePath path, ReceiverMode mode,
                            const std::filesystem::path& scratch,
                            std::span<const std::int16_t> cleanFirst = {});

// MessageAudio through ReceiveAudio.
MessageOutcome ReceiveMessage(const SweepPoint& point, const SweepMessage& message,
                              std::uint32_t seed, ReceivePath path, ReceiverMode mode,
                              const std::filesystem::path& scratch);

}  // namespace seaherald::sensitivity
