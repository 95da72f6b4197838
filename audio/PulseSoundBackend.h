#pragma once

#include <QObject>

#include "audio/PulseConnection.h"
#include "audio/SoundBackend.h"
#include "platform/CodePage.h"

namespace seaherald {

// The sound system through libpulse's asynchronous API (PulseAudio, and PipeWire's PulseAudio
// service). Nothing here waits for the server once started: the device list is the one the server
// last announced, and a stream that cannot be opened on the server reports its failure later,
// through the same callback as a stream that is lost. Devices are listed by description and
// opened by the server's unique source name. The construction waits at most StartWaitMilliseconds
// for the server's first answer, so that a start finds the devices that are there.
class PulseSoundBackend final : public SoundBackend {
 public:
  static constexpr int StartWaitMilliseconds = 3000;

  PulseSoundBackend();

  std::vector<InputDeviceInfo> ListInputDevices() override;
  std::unique_ptr<InputStream> OpenInput(const std::optional<std::string>& deviceId,
                                         InputCallbacks callbacks) override;
  std::unique_ptr<OutputStream> OpenOutput(std::function<void()> failed) override;

 private:
  void Post(std::function<void()> routine);

  // Posted routines run in its thread and die with it: none runs after the backend is gone.
  QObject receiver_;
  PulseConnection connection_;
  CodePageConverter converter_;
};

}  // namespace seaherald
