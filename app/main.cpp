// Process entry: the main window first, then the dialogs, then the message loop.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "app/AppPaths.h"
#include "app/TForm1.h"
#include "app/TForm3.h"
#include "app/ViewFonts.h"

namespace {

int Run(QApplication& application) {
  seaherald::TForm1 form1(
      seaherald::PathsBesideExecutable(QApplication::applicationFilePath().toStdString()));
  // The sound side creates its device-change notice and input device dialog here, hidden; the
  // latter opens and starts the capture.
  auto* form3 = new seaherald::TForm3(form1, form1.ChooserService(), &form1);
  form1.SetSettingsDialog(form3);
  form1.show();
  return application.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("SEAHERALD"));
  seaherald::InstallFontSubstitutes();
  QApplication::setFont(seaherald::ControlFont());
  try {
    Run(application);
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, QStringLiteral("SEAHERALD"),
                          QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
