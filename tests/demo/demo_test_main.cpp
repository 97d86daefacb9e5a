// Test programs of the demonstration program: a QApplication on the
// offscreen platform with the C numeric locale, as the program runs.
#include <clocale>

#include <QApplication>
#include <gtest/gtest.h>

#include "demo/shell/demo_app.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  theApp.InitFoldersAndIcons(QCoreApplication::applicationDirPath().toStdString());
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  theApp.ReleaseIcons();
  return result;
}
