#include "audio/QtSoundBackend.h"

#include <QAudioDevice>
#include <QMediaDevices>

#include "audio/WaveIn.h"
#include "audio/WaveOut.h"

namespace seaherald {
namespace {

QAudioDevice FindInput(const std::optional<std::string>& deviceId) {
  if (!deviceId) return QMediaDevices::defaultAudioInput();
  const QByteArray wanted(deviceId->data(), static_cast<qsizetype>(deviceId->size()));
  for (const QAudioDevice& device : QMediaDevices::audioInputs()) {
    if (device.id() == wanted) return device;
  }
  return {};
}

}  // namespace

std::vector<InputDeviceInfo> QtSoundBackend::ListInputDevices() {
  std::vector<InputDeviceInfo> devices;
  for (const QAudioDevice& device : QMediaDevices::audioInputs()) {
    const QByteArray id = device.id();
    devices.push_back({converter_.Cp932FromUtf8Lossy(device.description().toStdString()),
                       std::string(id.constData(), static_cast<std::size_t>(id.size()))});
  }
  return devices;
}

std::unique_ptr<InputStream> QtSoundBackend::OpenInput(const std::optional<std::string>& deviceId,
                                                       InputCallbacks callbacks) {
  return WaveIn::Start(FindInput(deviceId), std::move(callbacks));
}

std::unique_ptr<OutputStream> QtSoundBackend::OpenOutput(std::function<void()> failed) {
  return WaveOut::Start(QMediaDevices::defaultAudioOutput(), std::move(failed));
}

}  // namespace seaherald
