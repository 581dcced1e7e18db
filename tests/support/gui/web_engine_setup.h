#pragma once

#include <unistd.h>

#include <QCoreApplication>

namespace stipplor {

// For the test and screenshot programs, before their QApplication exists: the browser engine
// needs shared OpenGL contexts, and as root it refuses to start inside its sandbox, so the
// sandbox is switched off then (the desktop program leaves that choice to whoever starts it).
inline void PrepareWebEngineForTools() {
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace stipplor
