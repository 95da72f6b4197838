#pragma once

#include <memory>

#include "app/AppPaths.h"
#include "app/TForm1.h"
#include "audio/SoundBackend.h"
#include "audio/SoundDevices.h"

class QApplication;

namespace seaherald {

class TForm3;
class TForm8;
class TForm9;

// The program as its entry builds it: the main window first, then the monitor output, then the
// device-change notice and the input device dialog (which opens the capture), then the settings
// dialog. When the monitor output cannot be opened, its message is the only one: the main window
// is closed at once through its ordinary close (the settings are saved), nothing more is built,
// and Run ends without showing it. Destruction destroys the window first, which closes the
// capture and then the monitor output.
class Program {
 public:
  Program(AppPaths paths, SoundBackend& backend, FormServices services = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // False when the program must end (the monitor output could not be opened).
  bool Started() const { return started_; }
  // Shows the main window and runs the message loop; returns at once when not started.
  int Run(QApplication& application);

  TForm1& Window() { return *form1_; }
  SoundDevices& Sound() { return *sound_; }
  TForm8* InputDeviceDialog() { return form8_; }

 private:
  SoundDevices::Hooks SoundHooks();
  void BuildDialogs(SoundBackend& backend);

  // Declared before the window, so that it outlives the window's own shutdown.
  std::unique_ptr<SoundDevices> sound_;
  std::unique_ptr<TForm1> form1_;
  TForm8* form8_ = nullptr;  // owned by the window
  bool outputFailed_ = false;
  bool started_ = false;
};

}  // namespace seaherald
