#include "picture_io/quiet_readers.h"

#include <QtGlobal>
#include <cstdio>

namespace stipplor {

void SilenceImageReaders() {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  // C++'s std::cerr keeps the stream it was made with; only C's stderr is turned away.
  if (std::FILE* null = std::fopen("/dev/null", "we")) stderr = null;
}

}  // namespace stipplor
