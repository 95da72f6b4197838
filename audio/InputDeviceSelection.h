#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "audio/CaptureControl.h"
#include "audio/InputDeviceList.h"
#include "audio/SoundBackend.h"
#include "msglog/DialogService.h"
#include "msglog/UiText.h"

namespace seaherald {

// What the user sees while the capture device is being changed.
class DeviceChangeNotice {
 public:
  virtual ~DeviceChangeNotice() = default;
  virtual void ShowNotice() = 0;  // shown and painted before the capture closes
  virtual void Settle() = 0;      // the pause between closing one device and opening the next
  virtual void CloseNotice() = 0;
};

// The choice of capture device, remembered by name and by the system's own id of the device (which
// tells apart two devices of one product name): resolves them to a list position, falls back to the
// default input while the chosen device is gone without forgetting it, and changes the device when
// the user confirms another choice.
class InputDeviceSelection {
 public:
  // How often RetryLostCapture is called while the program runs; a capture is judged quiet over
  // whole intervals of it.
  static constexpr int RetryMilliseconds = 3000;

  // `waveInName` (Shift-JIS) and `deviceIndex` are the main window's; this object keeps them.
  InputDeviceSelection(std::string& waveInName, int& deviceIndex, SoundBackend& devices,
                       CaptureControl& capture, DialogService& dialogs,
                       const UiText& text = JapaneseUiText());

  // Reads the system's capture devices afresh.
  void ListInputDevices();
  const InputDeviceList& Devices() const { return list_; }
  int FindDeviceIndex(std::string_view name) const { return list_.FindDeviceIndex(name); }

  // The system's id of the chosen device (empty for the default input, or when not known), kept
  // beside the name so that the choice survives a restart.
  const std::string& StoredId() const { return storedId_; }
  void SetStoredId(std::string id) { storedId_ = std::move(id); }

  // Resolves the stored name (with the fallback message when the device is gone) and opens it.
  // A fallback opens the default input but keeps the stored choice.
  void OpenSelectedDevice();
  // Before the dialog shows: a fresh list, with DeviceIndex following the running device to its
  // new position. The running device no longer listed leaves the default entry chosen.
  void PrepareToShow();
  // The list position the dialog shows as chosen.
  int SelectedPosition() const { return selected_; }

  // The user confirmed `chosenPosition`. A different device, or any device while the capture is not
  // running, closes the capture, settles and opens the choice; the same running device is left
  // alone.
  void Confirm(int chosenPosition, DeviceChangeNotice& notice);

  // While the capture is down (its server or device went away, it went quiet, or it never
  // opened), tries the stored device again from a fresh list, without a word to the user: the
  // stored device, or the default input when other devices are listed but not that one. While the
  // default input stands in, the stored device is looked for at every call and taken back as soon
  // as it is listed. The stored choice never changes here. An empty list (no server) changes
  // nothing. True when a capture was opened.
  bool RetryLostCapture();

 private:
  bool IsRunningDevice(int position) const;
  int StoredPosition() const { return list_.FindDevice(waveInName_, storedId_); }

  std::string& waveInName_;
  int& deviceIndex_;
  SoundBackend& devices_;
  CaptureControl& capture_;
  DialogService& dialogs_;
  const UiText& text_;
  InputDeviceList list_;
  int selected_ = 0;
  std::string storedId_;
  bool standIn_ = false;   // the default input runs in place of a stored device that is gone
  bool changing_ = false;  // inside Confirm, where the capture is closed on purpose
};

}  // namespace seaherald
