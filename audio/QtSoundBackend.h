#pragma once

#include "audio/SoundBackend.h"
#include "platform/CodePage.h"

namespace seaherald {

// The sound system as Qt Multimedia shows it. Devices are listed by their description (product
// name) and opened by their id. The list is read afresh at every call, since the toolkit does not
// report devices that come and go.
class QtSoundBackend final : public SoundBackend {
 public:
  std::vector<InputDeviceInfo> ListInputDevices() override;
  std::unique_ptr<InputStream> OpenInput(const std::optional<std::string>& deviceId,
                                         InputCallbacks callbacks) override;
  std::unique_ptr<OutputStream> OpenOutput(std::function<void()> failed) override;

 private:
  CodePageConverter converter_;
};

}  // namespace seaherald
