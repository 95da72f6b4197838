#include "tools/LiveCapture.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <stdexcept>

#include "audio/InputDeviceSelection.h"
#include "audio/PulseSoundBackend.h"
#include "audio/SoundDevices.h"
#include "tools/ConsoleViews.h"

namespace seaherald::decodetool {
namespace {

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

void HoldStopSignals() {
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int RunLiveCapture(DecodeRunner& runner, std::string waveInName,
                   const std::function<void(const std::string&)>& report,
                   const std::string& waveInId) {
  const sigset_t set = StopSignals();
  const int stopSignals = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
  if (stopSignals < 0) throw std::runtime_error("cannot wait for SIGINT and SIGTERM");
  int argc = 1;
  char name[] = "seaherald-decode";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  runner.FollowWallClock();

  ReportingDialogs dialogs(report);
  PulseSoundBackend backend;
  SoundDevices devices(
      backend, dialogs,
      {[&runner](StereoBlock block) { runner.DecodeBlock(block); }, [] { return false; }, [] {}});
  int deviceIndex = 0;
  InputDeviceSelection selection(waveInName, deviceIndex, backend, devices, dialogs);
  selection.SetStoredId(waveInId);
  selection.ListInputDevices();
  selection.OpenSelectedDevice();

  QTimer retry;
  QObject::connect(&retry, &QTimer::timeout, [&selection] { selection.RetryLostCapture(); });
  retry.start(InputDeviceSelection::RetryMilliseconds);

  int stoppedBy = 0;
  QSocketNotifier stop(stopSignals, QSocketNotifier::Read);
  QObject::connect(&stop, &QSocketNotifier::activated, [&] {
    signalfd_siginfo info{};
    if (read(stopSignals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
      stoppedBy = static_cast<int>(info.ssi_signo);
      QCoreApplication::quit();
    }
  });
  QCoreApplication::exec();
  retry.stop();
  devices.CloseWaveIn();
  close(stopSignals);
  return stoppedBy;
}

}  // namespace seaherald::decodetool
