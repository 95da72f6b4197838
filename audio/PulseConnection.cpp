#include "audio/PulseConnection.h"

#include <pulse/introspect.h>
#include <pulse/mainloop-api.h>
#include <pulse/operation.h>
#include <pulse/subscribe.h>
#include <pulse/timeval.h>
#include <sys/time.h>

#include <stdexcept>
#include <thread>
#include <utility>

namespace seaherald {
namespace {

constexpr std::chrono::milliseconds kAnswerPoll{10};

}  // namespace

PulseConnection::PulseConnection() : mainloop_(pa_threaded_mainloop_new()) {
  if (mainloop_ == nullptr) throw std::runtime_error("cannot create the sound server's loop");
  pa_threaded_mainloop_set_name(mainloop_, "sound-server");
  if (pa_threaded_mainloop_start(mainloop_) < 0) {
    pa_threaded_mainloop_free(mainloop_);
    throw std::runtime_error("cannot start the sound server's loop");
  }
  const PulseLock lock(mainloop_);
  Connect();
}

PulseConnection::~PulseConnection() {
  {
    const PulseLock lock(mainloop_);
    DropContext();
  }
  pa_threaded_mainloop_stop(mainloop_);
  pa_threaded_mainloop_free(mainloop_);
}

void PulseConnection::WaitForFirstAnswer(std::chrono::milliseconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < giveUp) {
    {
      const PulseLock lock(mainloop_);
      if (answered_) return;
    }
    std::this_thread::sleep_for(kAnswerPoll);
  }
}

pa_context* PulseConnection::ReadyContext() {
  return ready_ ? context_ : nullptr;
}

std::vector<PulseSource> PulseConnection::Sources() {
  const PulseLock lock(mainloop_);
  return ready_ ? sources_ : std::vector<PulseSource>();
}

// Under the loop's lock: the context is let go with no callback left to reach this object.
void PulseConnection::DropContext() {
  if (context_ == nullptr) return;
  pa_context_set_state_callback(context_, nullptr, nullptr);
  pa_context_set_subscribe_callback(context_, nullptr, nullptr);
  pa_context_disconnect(context_);
  pa_context_unref(context_);
  context_ = nullptr;
}

// Runs on the loop's thread (or under its lock): a new context for every attempt, since a context
// that failed cannot connect again.
void PulseConnection::Connect() {
  DropContext();
  ready_ = false;
  listing_ = false;
  listAgain_ = false;
  context_ = pa_context_new(pa_threaded_mainloop_get_api(mainloop_), "SEAHERALD");
  if (context_ == nullptr) {
    ScheduleReconnect();
    return;
  }
  pa_context_set_state_callback(context_, &PulseConnection::OnContextState, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    answered_ = true;
    ScheduleReconnect();
  }
}

void PulseConnection::ScheduleReconnect() {
  if (reconnecting_) return;
  reconnecting_ = true;
  timeval when{};
  gettimeofday(&when, nullptr);
  pa_timeval_add(&when, static_cast<pa_usec_t>(ReconnectMilliseconds) * PA_USEC_PER_MSEC);
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(mainloop_);
  api->time_new(api, &when, &PulseConnection::OnReconnectTime, this);
}

void PulseConnection::OnReconnectTime(pa_mainloop_api* api, pa_time_event* event,
                                      const struct timeval*, void* self) {
  api->time_free(event);
  auto* connection = static_cast<PulseConnection*>(self);
  connection->reconnecting_ = false;
  connection->Connect();
}

void PulseConnection::OnContextState(pa_context* context, void* self) {
  auto* connection = static_cast<PulseConnection*>(self);
  switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
      connection->ready_ = true;
      pa_context_set_subscribe_callback(context, &PulseConnection::OnSubscription, connection);
      if (pa_operation* op =
              pa_context_subscribe(context, PA_SUBSCRIPTION_MASK_SOURCE, nullptr, nullptr))
        pa_operation_unref(op);
      connection->RequestSources();
      break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
      connection->ready_ = false;
      connection->sources_.clear();
      connection->answered_ = true;
      connection->ScheduleReconnect();
      break;
    default:
      break;
  }
}

void PulseConnection::OnSubscription(pa_context*, pa_subscription_event_type_t, std::uint32_t,
                                     void* self) {
  static_cast<PulseConnection*>(self)->RequestSources();
}

void PulseConnection::RequestSources() {
  if (listing_) {
    listAgain_ = true;
    return;
  }
  pa_operation* op =
      pa_context_get_source_info_list(context_, &PulseConnection::OnSourceInfo, this);
  if (op == nullptr) return;
  pa_operation_unref(op);
  listing_ = true;
  incoming_.clear();
}

void PulseConnection::OnSourceInfo(pa_context*, const pa_source_info* info, int eol, void* self) {
  auto* connection = static_cast<PulseConnection*>(self);
  if (eol == 0 && info != nullptr) {
    // An output's monitor hears the program's own output, not a receiver.
    if (info->monitor_of_sink == PA_INVALID_INDEX) {
      connection->incoming_.push_back({info->name != nullptr ? info->name : "",
                                       info->description != nullptr ? info->description : ""});
    }
    return;
  }
  connection->listing_ = false;
  if (eol > 0) {
    connection->sources_ = std::move(connection->incoming_);
    connection->answered_ = true;
  }
  connection->incoming_.clear();
  if (std::exchange(connection->listAgain_, false)) connection->RequestSources();
}

}  // namespace seaherald
