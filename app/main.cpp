// Process entry: the main window first, then the sound and its dialogs, then the settings dialog,
// then the message loop.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>
#include <vector>

#include "app/AppPaths.h"
#include "app/TForm1.h"
#include "app/TForm3.h"
#include "app/ViewFonts.h"
#include "app/WindowCommandLine.h"
#include "audio/SoundIo.h"
#include "audio/Unit8.h"
#include "audio/Unit9.h"
#include "platform/Version.h"

namespace {

using namespace seaherald;

std::unique_ptr<SoundIo> StartSoundOutput(TForm1& form1) {
  SoundDevices::Hooks hooks;
  hooks.processBlock = [&form1](StereoBlock block) { form1.ProcessWaveBlock(block); };
  hooks.monitorDown = [&form1] { return form1.MonitorOn(); };
  // A monitor output that cannot be opened ends the program once the message loop runs, through
  // the ordinary close, so the settings are saved as usual.
  hooks.closeMainWindow = [&form1] {
    QMetaObject::invokeMethod(&form1, &QWidget::close, Qt::QueuedConnection);
  };
  auto sound = std::make_unique<SoundIo>(form1.Dialogs(), std::move(hooks));
  sound->OpenWaveOut();
  return sound;
}

int Run(QApplication& application) {
  // Declared before the window, so that it outlives the window's own shutdown.
  std::unique_ptr<SoundIo> sound;
  TForm1 form1(PrepareAppPaths(QApplication::applicationFilePath().toStdString(),
                               UserFoldersFromEnvironment()));
  sound = StartSoundOutput(form1);
  form1.SetSoundShutdown([&sound] {
    sound->CloseWaveIn();
    sound->CloseWaveOut();
  });

  auto* form9 = new TForm9(&form1);
  auto* form8 = new TForm8(sound->Backend(), sound->Devices(), form1.SettingsRecord().WaveInName,
                           form1.Dialogs(), *form9, &form1);
  auto* form3 = new TForm3(form1, form1.ChooserService(), &form1);
  form9->SetOwnerWindow(form8);
  form1.SetSettingsDialog(form3);
  form1.SetInputDeviceDialogOpener([form8, form3] { form8->ShowModalOver(form3); });

  form1.show();
  return application.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before the toolkit starts, so that they work without a display.
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (const auto reply = WindowCommandLineReply(args)) {
    std::fputs(reply->text.c_str(), stdout);
    return reply->exitCode;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("SEAHERALD"));
  // Lets the desktop match the window with its menu entry and icon.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(ApplicationId));
  QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(ApplicationId)));
  InstallFontSubstitutes();
  QApplication::setFont(ControlFont());
  try {
    Run(application);
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, QStringLiteral("SEAHERALD"),
                          QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
