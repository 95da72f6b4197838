#pragma once

namespace seaherald {

struct Settings;
class Translation;

// What the settings dialog changes in the running receiver besides the settings record.
class SettingsDialogHost {
 public:
  virtual ~SettingsDialogHost() = default;
  virtual Settings& SettingsRecord() = 0;
  // The decoder's mixer frequency, Hz; acts from the next block on.
  virtual void SetCenterFrequency(double hz) = 0;
  // Makes the automatic log deletion run at the next new second of the clock.
  virtual void RestartAutoDeleteTicker() = 0;
  virtual void ApplyViewFont() = 0;
  virtual void ApplyViewColors() = 0;
  // Shows the input device dialog modally; returns when it is closed.
  virtual void OpenInputDeviceDialog() = 0;
  // The second receiver's mixer frequency, Hz; acts from the next block on.
  virtual void SetSecondCenterFrequency(double hz) { static_cast<void>(hz); }
  // Receiver2 was switched: the second receiver's status line and live tab come or go.
  virtual void ApplySecondReceiver() {}
  // The [Watch] settings changed: station names, messages taken and alarm types act at once.
  virtual void ApplyWatch() {}
  // The language the dialog speaks, the main window's.
  virtual const Translation& Text() const = 0;
};

}  // namespace seaherald
