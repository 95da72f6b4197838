#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/SoundBackend.h"

namespace seaherald::soundtest {

// Description of the input that the private test server makes from its null sink's monitor.
inline constexpr const char* TestMonitorName = "NullMonitor";

// Why the private test server cannot be used, or nothing when it can: its sink and monitor input
// must be listed and paplay must be installed.
std::optional<std::string> TestServerProblem(SoundBackend& backend);

// True when the environment asks for the audio tests to fail rather than skip without a server.
bool AudioRequired();

// The id of the input listed under `name`.
std::optional<std::string> InputIdNamed(SoundBackend& backend, const std::string& name);

// Runs the event loop until `done` holds or `timeout` passes; returns `done()`.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Plays interleaved 16-bit stereo frames at 44 100 Hz into the default sink with paplay and
// returns at once; the player runs until the audio ends or `Stop` is called.
class Player {
 public:
  explicit Player(std::span<const std::int16_t> interleaved);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;
  bool Running() const;
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Interleaved stereo of `seconds`: a sine of `hz` and `amplitude` on the left, `right` on the
// right.
std::vector<std::int16_t> LeftTone(double seconds, double hz, double amplitude,
                                   std::int16_t right = 0);

// Root mean square of one channel (0 left, 1 right) of interleaved stereo samples.
double ChannelRms(std::span<const std::int16_t> interleaved, int channel);

}  // namespace seaherald::soundtest

// Opens a live-server test: fails when the environment demands audio, skips otherwise.
#define SEAHERALD_REQUIRE_TEST_SERVER(backend)                                        \
  do {                                                                                \
    if (const auto problem = ::seaherald::soundtest::TestServerProblem(backend)) {    \
      if (::seaherald::soundtest::AudioRequired()) FAIL() << *problem;                \
      GTEST_SKIP() << *problem << " (set SEAHERALD_REQUIRE_AUDIO=1 to fail instead)"; \
    }                                                                                 \
  } while (false)
