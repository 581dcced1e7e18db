// One QApplication for a whole test binary, on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/gui/web_engine_setup.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  stipplor::PrepareWebEngineForTools();
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
