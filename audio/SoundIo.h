#pragma once

#include "audio/PulseSoundBackend.h"
#include "audio/SoundDevices.h"

namespace seaherald {

// Live sound for the main window: the capture and monitor output of SoundDevices on the sound
// server. Each captured block reaches hooks.processBlock on the GUI thread.
class SoundIo {
 public:
  SoundIo(DialogService& dialogs, SoundDevices::Hooks hooks);

  void OpenWaveOut() { devices_.OpenWaveOut(); }
  void CloseWaveOut() { devices_.CloseWaveOut(); }
  bool CloseWaveIn() { return devices_.CloseWaveIn(); }

  SoundDevices& Devices() { return devices_; }
  SoundBackend& Backend() { return backend_; }

 private:
  PulseSoundBackend backend_;
  SoundDevices devices_;
};

}  // namespace seaherald
