#include "audio/PulseSoundBackend.h"

#include <algorithm>
#include <chrono>

#include "audio/PulseStreams.h"

namespace seaherald {

PulseSoundBackend::PulseSoundBackend() {
  connection_.WaitForFirstAnswer(std::chrono::milliseconds(StartWaitMilliseconds));
}

std::vector<InputDeviceInfo> PulseSoundBackend::ListInputDevices() {
  std::vector<InputDeviceInfo> devices;
  for (const PulseSource& source : connection_.Sources())
    devices.push_back({converter_.Cp932FromUtf8Lossy(source.description), source.name});
  return devices;
}

std::unique_ptr<InputStream> PulseSoundBackend::OpenInput(
    const std::optional<std::string>& deviceId, InputCallbacks callbacks) {
  if (deviceId) {
    const std::vector<PulseSource> sources = connection_.Sources();
    const bool listed = std::any_of(sources.begin(), sources.end(),
                                    [&](const PulseSource& s) { return s.name == *deviceId; });
    if (!listed) return nullptr;
  }
  return PulseInput::Open(connection_, deviceId, std::move(callbacks),
                          [this](std::function<void()> routine) { Post(std::move(routine)); });
}

std::unique_ptr<OutputStream> PulseSoundBackend::OpenOutput(std::function<void()> failed) {
  return PulseOutput::Open(connection_, std::move(failed),
                           [this](std::function<void()> routine) { Post(std::move(routine)); });
}

void PulseSoundBackend::Post(std::function<void()> routine) {
  QMetaObject::invokeMethod(&receiver_, std::move(routine), Qt::QueuedConnection);
}

}  // namespace seaherald
