#include "app/Program.h"

#include <QApplication>

#include "app/StopSignals.h"
#include "app/TForm3.h"
#include "audio/Unit8.h"
#include "audio/Unit9.h"

namespace seaherald {

Program::Program(AppPaths paths, SoundBackend& backend, FormServices services)
    : form1_(std::make_unique<TForm1>(std::move(paths), services)) {
  sound_ = std::make_unique<SoundDevices>(backend, form1_->Dialogs(), SoundHooks(),
                                          HeapBufferAllocator(), form1_->Text());
  form1_->SetSoundShutdown([this] {
    sound_->CloseWaveIn();
    sound_->CloseWaveOut();
  });
  sound_->OpenWaveOut();
  if (outputFailed_) {
    // Closed now, not by a queued call: that would run inside the next start-up dialog (the
    // capture's error when there is no sound server at all) and the program would run on.
    form1_->close();
    return;
  }
  BuildDialogs(backend);
  started_ = true;
}

// The window goes first: its destruction closes the capture and the output while they exist.
Program::~Program() {
  form1_.reset();
}

SoundDevices::Hooks Program::SoundHooks() {
  SoundDevices::Hooks hooks;
  hooks.processBlock = [this](StereoBlock block) { form1_->ProcessWaveBlock(block); };
  hooks.monitorDown = [this] { return form1_->MonitorOn(); };
  // Only the opening at start-up reports a failed output (and so asks for the close).
  hooks.closeMainWindow = [this] { outputFailed_ = true; };
  return hooks;
}

void Program::BuildDialogs(SoundBackend& backend) {
  auto* form9 = new TForm9(form1_.get(), TForm9::DefaultSettlePause, form1_->Text());
  Settings& settings = form1_->SettingsRecord();
  form8_ = new TForm8(backend, *sound_, settings.WaveInName, form1_->Dialogs(), *form9,
                      form1_.get(), form1_->Text(), &settings.WaveInId);
  auto* form3 = new TForm3(*form1_, form1_->ChooserService(), form1_.get());
  form9->SetOwnerWindow(form8_);
  form1_->SetSettingsDialog(form3);
  form1_->SetInputDeviceDialogOpener([form8 = form8_, form3] { form8->ShowModalOver(form3); });
}

int Program::Run(QApplication& application) {
  if (!started_) return 0;
  // A stop signal closes the window as its own close does (the settings are saved), and ends
  // every dialog's loop too.
  const StopSignalWatch stop([this] {
    form1_->close();
    QApplication::quit();
  });
  form1_->show();
  return application.exec();
}

}  // namespace seaherald
