#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace seaherald {

// Keeps SIGTERM, SIGINT and SIGHUP (a service manager, kill, the end of a session) from ending the
// process at once, so that the window can close as its own close does. Call before any thread is
// started: threads inherit the mask.
void HoldStopSignals();

// Runs `stop` on the GUI thread for each held stop signal that arrives while it exists.
class StopSignalWatch final : public QObject {
 public:
  explicit StopSignalWatch(std::function<void()> stop);
  ~StopSignalWatch() override;
  StopSignalWatch(const StopSignalWatch&) = delete;
  StopSignalWatch& operator=(const StopSignalWatch&) = delete;

 private:
  void Arrived();

  int descriptor_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void()> stop_;
};

}  // namespace seaherald
