// Process entry: the main window first, then the sound and its dialogs, then the settings dialog,
// then the message loop.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "app/AppPaths.h"
#include "app/Program.h"
#include "app/StopSignals.h"
#include "app/ViewFonts.h"
#include "app/WindowCommandLine.h"
#include "audio/PulseSoundBackend.h"
#include "platform/Version.h"

namespace {

using namespace seaherald;

int Run(QApplication& application) {
  PulseSoundBackend backend;
  Program program(PrepareAppPaths(QApplication::applicationFilePath().toStdString(),
                                  UserFoldersFromEnvironment()),
                  backend);
  return program.Run(application);
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before the toolkit starts, so that they work without a display.
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (const auto reply = WindowCommandLineReply(args)) {
    std::fputs(reply->text.c_str(), stdout);
    return reply->exitCode;
  }
  HoldStopSignals();
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
