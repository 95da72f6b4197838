#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/SoundBackend.h"

namespace seaherald {

// The name stored for the system's default input, whatever the list calls it.
inline constexpr std::string_view DefaultInputDeviceName = "Default input device";

// The entries of the device dialog's list: position 0 is the default input, positions 1..n the
// capture devices by product name in the system's order. Each position remembers its own device,
// so a device that drops out of the system's list never shifts a choice onto its neighbour.
class InputDeviceList {
 public:
  InputDeviceList();
  explicit InputDeviceList(std::vector<InputDeviceInfo> devices);

  int Count() const { return static_cast<int>(devices_.size()) + 1; }
  // Shift-JIS text of the entry; position 0 reads "標準の入力デバイス".
  const std::string& ItemText(int position) const;
  // The device to open for a position: empty for the default input.
  std::optional<std::string> DeviceId(int position) const;
  // 0 for an empty name or the default's stored name; otherwise the first position whose text is
  // exactly `name`; -1 when no entry has it.
  int FindDeviceIndex(std::string_view name) const;
  // The position of the device the system knows by `id` with the text `name`; else as
  // FindDeviceIndex(name). Tells apart two devices of one product name.
  int FindDevice(std::string_view name, std::string_view id) const;

 private:
  std::string defaultText_;
  std::vector<InputDeviceInfo> devices_;
};

}  // namespace seaherald
