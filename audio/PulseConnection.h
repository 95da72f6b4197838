#pragma once

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/thread-mainloop.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace seaherald {

// A capture source as the sound server lists it: `name` is unique per device, `description` is
// what the user reads (two identical devices share it).
struct PulseSource {
  std::string name;
  std::string description;
};

// Holds the mainloop lock for a scope.
class PulseLock {
 public:
  explicit PulseLock(pa_threaded_mainloop* mainloop) : mainloop_(mainloop) {
    pa_threaded_mainloop_lock(mainloop_);
  }
  ~PulseLock() { pa_threaded_mainloop_unlock(mainloop_); }
  PulseLock(const PulseLock&) = delete;
  PulseLock& operator=(const PulseLock&) = delete;

 private:
  pa_threaded_mainloop* mainloop_;
};

// The link to the sound server, kept on a thread of its own through libpulse's asynchronous API,
// so that no call from the user interface ever waits for the server. When the server goes away
// (or is not there yet) the link is made again every ReconnectMilliseconds, for as long as it
// takes; the list of capture sources follows the server's own notices of change.
class PulseConnection {
 public:
  static constexpr int ReconnectMilliseconds = 500;

  PulseConnection();
  ~PulseConnection();
  PulseConnection(const PulseConnection&) = delete;
  PulseConnection& operator=(const PulseConnection&) = delete;

  // Waits at most `limit` until the server has listed its sources or refused the link, so that a
  // start finds the devices that are there. The one wait in this class; for start-up only.
  void WaitForFirstAnswer(std::chrono::milliseconds limit);

  pa_threaded_mainloop* Mainloop() { return mainloop_; }
  // With the lock held: the context when it is linked to a server, else null.
  pa_context* ReadyContext();
  // The capture sources in the server's order, monitors of outputs left out; empty without a
  // server. Takes the lock.
  std::vector<PulseSource> Sources();

 private:
  void Connect();
  void DropContext();
  void ScheduleReconnect();
  void RequestSources();
  static void OnContextState(pa_context* context, void* self);
  static void OnSubscription(pa_context* context, pa_subscription_event_type_t type,
                             std::uint32_t index, void* self);
  static void OnSourceInfo(pa_context* context, const pa_source_info* info, int eol, void* self);
  static void OnReconnectTime(pa_mainloop_api* api, pa_time_event* event, const struct timeval*,
                              void* self);

  pa_threaded_mainloop* mainloop_ = nullptr;
  pa_context* context_ = nullptr;
  bool ready_ = false;
  bool answered_ = false;
  bool listing_ = false;    // a source list is on its way
  bool listAgain_ = false;  // a change came while it was
  bool reconnecting_ = false;
  std::vector<PulseSource> sources_;
  std::vector<PulseSource> incoming_;
};

}  // namespace seaherald
