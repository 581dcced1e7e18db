// One QApplication for a whole test binary, on the offscreen platform.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

int main(int argc, char* argv[]) {
  // ctest sets these too; a test binary started by hand (or listing its tests) needs them all
  // the same: no display, and Chromium refuses to run as root inside its sandbox.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
