#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace seaherald {

// A capture device as the system lists it.
struct InputDeviceInfo {
  std::string name;  // product name, Shift-JIS
  std::string id;    // the system's own key for the device
};

// A running capture. Destroying it stops the capture; no callback follows.
class InputStream {
 public:
  virtual ~InputStream() = default;
};

// A running output that plays what is written to it, in order.
class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // Takes as many bytes as the output has room for now and returns how many it took.
  virtual std::size_t Write(std::span<const std::byte> bytes) = 0;
};

struct InputCallbacks {
  std::function<void(std::span<const std::byte>)> data;  // captured bytes, in chunks of any size
  std::function<void()> failed;  // the device or the sound server went away; no more data comes
};

// The sound system, in the capture/output format of WaveFormat.h. Every call and callback runs on
// the thread that owns the user interface.
class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // The capture devices in the system's order, read afresh at each call.
  virtual std::vector<InputDeviceInfo> ListInputDevices() = 0;
  // Opens and starts a capture: the system's default input when `deviceId` is empty. Empty when the
  // device is unknown, busy or refuses the format.
  virtual std::unique_ptr<InputStream> OpenInput(const std::optional<std::string>& deviceId,
                                                 InputCallbacks callbacks) = 0;
  // Opens the default output. Empty when it cannot be opened.
  virtual std::unique_ptr<OutputStream> OpenOutput(std::function<void()> failed) = 0;
};

}  // namespace seaherald
