#pragma once

#include <optional>
#include <string>

namespace seaherald {

// Opening and closing the capture, as the input device dialog drives it.
class CaptureControl {
 public:
  virtual ~CaptureControl() = default;
  // Empty id: the system's default input.
  virtual bool OpenWaveIn(const std::optional<std::string>& deviceId) = 0;
  // As OpenWaveIn, but never tells the user of a failure: for retries while the capture is down.
  virtual bool RetryWaveIn(const std::optional<std::string>& deviceId) {
    return OpenWaveIn(deviceId);
  }
  virtual bool CloseWaveIn() = 0;
  // Open and still delivering blocks.
  virtual bool CaptureRunning() const = 0;
  // Called at every retry interval, before the retry: a capture that has gone quiet without a
  // word from its server stops counting as running, so that the retry opens it again.
  virtual void WatchCapture() {}
};

}  // namespace seaherald
