#include "result_window/save_file.h"

#include <QSaveFile>

namespace stipplor {

QString WriteWhole(const QString& path, std::string_view text) {
  QSaveFile file(path);
  // Unbuffered, so that every failing write is seen here: QSaveFile does not report an error
  // of the last buffer flush that its commit does.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  const auto size = static_cast<qint64>(text.size());
  for (qint64 done = 0; done < size;) {
    const qint64 written = file.write(text.data() + done, size - done);
    if (written <= 0) {
      QString error = file.errorString();
      file.cancelWriting();
      file.commit();  // removes the temporary file
      return error;
    }
    done += written;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

}  // namespace stipplor
