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
  deviceIndex_ = StoredPosition();
  standIn_ = deviceIndex_ == -1;
  if (standIn_) {
    deviceIndex_ = 0;
    dialogs_.Beep();
    dialogs_.ShowInformation(
        text_.Translate(Cp932Text("標準の入力デバイスでサウンドデバイスをオープンします")));
  }
  selected_ = deviceIndex_;
  capture_.OpenWaveIn(list_.DeviceId(deviceIndex_));
}

void InputDeviceSelection::PrepareToShow() {
  ListInputDevices();
  const int position = StoredPosition();
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
  storedId_ = list_.DeviceId(chosenPosition).value_or("");
  OpenSelectedDevice();
  notice.CloseNotice();
  changing_ = false;
}

bool InputDeviceSelection::RetryLostCapture() {
  if (changing_) return false;
  capture_.WatchCapture();
  if (capture_.CaptureRunning() && !standIn_) return false;
  ListInputDevices();
  int position = StoredPosition();
  if (capture_.CaptureRunning() && position <= 0) return false;  // the stand-in stays
  if (position < 0 && list_.Count() <= 1) return false;
  const bool standIn = position < 0;
  if (standIn) position = 0;
  if (!capture_.RetryWaveIn(list_.DeviceId(position))) return false;
  standIn_ = standIn;
  deviceIndex_ = position;
  selected_ = position;
  return true;
}

// DeviceIndex alone may be stale: the running device may have left the refreshed list, and
// another device may now stand at its old position.
bool InputDeviceSelection::IsRunningDevice(int position) const {
  return capture_.CaptureRunning() && position == deviceIndex_ && StoredPosition() == position;
}

}  // namespace seaherald
