#include "audio/InputDeviceSelection.h"

#include "platform/CodePage.h"

namespace seaherald {

InputDeviceSelection::InputDeviceSelection(std::string& waveInName, int& deviceIndex,
                                           SoundBackend& devices, CaptureControl& capture,
                                           DialogService& dialogs, const UiText& text)
    : waveInName_(waveInName),
      deviceIndex_(deviceIndex),
      devices_(devices),
      capture_(capture),
      dialogs_(dialogs),
      text_(text) {}

void InputDeviceSelection::ListInputDevices() {
  list_ = InputDeviceList(devices_.ListInputDevices());
}

void InputDeviceSelection::OpenSelectedDevice() {
  deviceIndex_ = list_.FindDeviceIndex(waveInName_);
  if (deviceIndex_ == -1) {
    deviceIndex_ = 0;
    waveInName_ = std::string(DefaultInputDeviceName);
    dialogs_.Beep();
    dialogs_.ShowInformation(
        text_.Translate(Cp932Text("標準の入力デバイスでサウンドデバイスをオープンします")));
  }
  selected_ = deviceIndex_;
  capture_.OpenWaveIn(list_.DeviceId(deviceIndex_));
}

void InputDeviceSelection::PrepareToShow() {
  ListInputDevices();
  const int position = list_.FindDeviceIndex(waveInName_);
  if (position >= 0) deviceIndex_ = position;
  selected_ = position >= 0 ? position : 0;
}

void InputDeviceSelection::Confirm(int chosenPosition, DeviceChangeNotice& notice) {
  if (chosenPosition < 0 || chosenPosition >= list_.Count()) return;
  if (IsRunningDevice(chosenPosition)) return;
  changing_ = true;
  notice.ShowNotice();
  capture_.CloseWaveIn();
  notice.Settle();
  deviceIndex_ = chosenPosition;
  waveInName_ =
      chosenPosition == 0 ? std::string(DefaultInputDeviceName) : list_.ItemText(chosenPosition);
  OpenSelectedDevice();
  notice.CloseNotice();
  changing_ = false;
}

bool InputDeviceSelection::RetryLostCapture() {
  if (changing_) return false;
  capture_.WatchCapture();
  if (capture_.CaptureRunning()) return false;
  ListInputDevices();
  int position = list_.FindDeviceIndex(waveInName_);
  if (position < 0 && list_.Count() <= 1) return false;
  if (position < 0) position = 0;
  if (!capture_.RetryWaveIn(list_.DeviceId(position))) return false;
  deviceIndex_ = position;
  selected_ = position;
  if (position == 0) waveInName_ = std::string(DefaultInputDeviceName);
  return true;
}

// DeviceIndex alone may be stale: the running device may have left the refreshed list, and
// another device may now stand at its old position.
bool InputDeviceSelection::IsRunningDevice(int position) const {
  return capture_.CaptureRunning() && position == deviceIndex_ &&
         list_.FindDeviceIndex(waveInName_) == position;
}

}  // namespace seaherald
