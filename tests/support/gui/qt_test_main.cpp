// One QApplication for a whole test binary, on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "tests/support/gui/web_engine_setup.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  stipplor::PrepareWebEngineForTools();
  QApplication app(argc, argv);
  // What the program keeps between runs goes to a folder of this test run, never the user's.
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
