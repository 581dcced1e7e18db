#pragma once

#include <unistd.h>

#include <QCoreApplication>

#include "result_window/result_view.h"

namespace stipplor {

// For the test and screenshot programs, before their QApplication exists: the browser engine
// needs shared OpenGL contexts, and as root it refuses to start inside its sandbox, so the
// sandbox is switched off then (the desktop program leaves that choice to whoever starts it).
// The result view's scheme is registered as the desktop program registers it.
inline void PrepareWebEngineForTools() {
  if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  RegisterResultViewScheme();
}

}  // namespace stipplor
