// Widget tests run without a display.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/ViewFonts.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The tests check the Japanese texts, whatever the machine's locale; a test of the English
  // window sets the variable for itself.
  qputenv("SEAHERALD_LANG", "ja");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  seaherald::InstallFontSubstitutes();
  QApplication::setFont(seaherald::ControlFont());
  return RUN_ALL_TESTS();
}
