#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <deque>
#include <optional>
#include <string>

#include "tests/audio/LiveAudio.h"

namespace seaherald::soundtest {

// A PulseAudio server of the test's own, with a null sink "NullSink" and its monitor as the input
// "NullMonitor", on a socket in a temporary folder. It can be stopped and started again on the
// same socket, as a sound server that dies and comes back.
class PrivateServer {
 public:
  PrivateServer();
  ~PrivateServer();
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  // Why no server can be run here, or nothing.
  static std::optional<std::string> Problem();

  // The value for PULSE_SERVER.
  std::string Address() const;
  // Starts the server and waits until it answers; false when it does not. Without `withInput`
  // the input "NullMonitor" is missing until AddInput (a USB card that comes after its server).
  bool Start(bool withInput = true);
  bool AddInput();
  // Stops the server without ending it (SIGSTOP), as a stalled server; Resume lets it go on.
  void Stall();
  void Resume();
  // Kills the server at once, as a crash would.
  void Kill();
  bool Running() const { return server_.state() == QProcess::Running; }
  // For a failure message: whether the server is running, and the end of its log. A server that
  // ended without Kill() says so, with what it wrote last.
  std::string State();

 private:
  QTemporaryDir folder_;
  QProcess server_;
};

}  // namespace seaherald::soundtest

// Opens a test that runs a PulseAudio server of its own: fails when the environment demands
// audio and none can run here, skips otherwise.
#define SEAHERALD_REQUIRE_PRIVATE_SERVER()                                            \
  do {                                                                                \
    if (const auto problem = ::seaherald::soundtest::PrivateServer::Problem()) {      \
      if (::seaherald::soundtest::AudioRequired()) FAIL() << *problem;                \
      GTEST_SKIP() << *problem << " (set SEAHERALD_REQUIRE_AUDIO=1 to fail instead)"; \
    }                                                                                 \
  } while (false)
