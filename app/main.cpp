// Process entry: the main window first, then the sound and its dialogs, then the settings dialog,
// then the message loop.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "app/AppPaths.h"
#include "app/Program.h"
#include "app/ViewFonts.h"
#include "audio/QtSoundBackend.h"

namespace {

using namespace seaherald;

int Run(QApplication& application) {
  QtSoundBackend backend;
  Program program(PathsBesideExecutable(QApplication::applicationFilePath().toStdString()),
                  backend);
  return program.Run(application);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("SEAHERALD"));
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
