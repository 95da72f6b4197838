#include "app/StopSignals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <utility>

namespace seaherald {
namespace {

sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

void HoldStopSignals() {
  const sigset_t set = StopSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StopSignalWatch::StopSignalWatch(std::function<void()> stop) : stop_(std::move(stop)) {
  const sigset_t set = StopSignalSet();
  descriptor_ = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
  if (descriptor_ < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &StopSignalWatch::Arrived);
}

StopSignalWatch::~StopSignalWatch() {
  notifier_.reset();
  if (descriptor_ >= 0) close(descriptor_);
}

void StopSignalWatch::Arrived() {
  signalfd_siginfo info{};
  while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    if (stop_) stop_();
  }
}

}  // namespace seaherald
