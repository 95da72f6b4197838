#include "audio/InputDeviceList.h"

#include <stdexcept>
#include <utility>

#include "platform/CodePage.h"

namespace seaherald {

InputDeviceList::InputDeviceList() : InputDeviceList(std::vector<InputDeviceInfo>{}) {}

InputDeviceList::InputDeviceList(std::vector<InputDeviceInfo> devices)
    : defaultText_(Cp932Text("標準の入力デバイス")), devices_(std::move(devices)) {}

const std::string& InputDeviceList::ItemText(int position) const {
  if (position == 0) return defaultText_;
  if (position < 0 || position >= Count()) {
    throw std::out_of_range("InputDeviceList: no entry at this position");
  }
  return devices_[static_cast<std::size_t>(position - 1)].name;
}

std::optional<std::string> InputDeviceList::DeviceId(int position) const {
  if (position == 0) return std::nullopt;
  if (position < 0 || position >= Count()) {
    throw std::out_of_range("InputDeviceList: no entry at this position");
  }
  return devices_[static_cast<std::size_t>(position - 1)].id;
}

int InputDeviceList::FindDeviceIndex(std::string_view name) const {
  if (name.empty() || name == DefaultInputDeviceName) return 0;
  for (int position = 0; position < Count(); ++position) {
    if (ItemText(position) == name) return position;
  }
  return -1;
}

int InputDeviceList::FindDevice(std::string_view name, std::string_view id) const {
  for (std::size_t i = 0; !id.empty() && i < devices_.size(); ++i) {
    if (devices_[i].id == id && devices_[i].name == name) return static_cast<int>(i) + 1;
  }
  return FindDeviceIndex(name);
}

}  // namespace seaherald
