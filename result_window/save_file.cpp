#include "result_window/save_file.h"

#include <sys/stat.h>

#include "output/output_file.h"
#include "picture_io/file_names.h"

namespace stipplor {

bool IsTaken(const QString& path) {
  const QByteArray name = FileNameBytes(path);
  struct stat status {};
  if (::lstat(name.constData(), &status) != 0) return false;
  return ::stat(name.constData(), &status) != 0 || !S_ISDIR(status.st_mode);
}

QString SaveRefusal(const QString& path) {
  struct stat status {};
  if (::stat(FileNameBytes(path).constData(), &status) != 0) return {};
  if (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)) return {};
  return QStringLiteral("not a regular file (a device, FIFO or socket)");
}

QString WriteWhole(const QString& path, std::string_view text) {
  try {
    OutputFile file(FileNameBytes(path).toStdString());
    file.Write(text);
    file.Commit();
  } catch (const OutputError& error) {
    // The cause may name a folder, whose name is bytes like any file's.
    return ReadableFileName(FileNameFromBytes(error.what()));
  }
  return {};
}

}  // namespace stipplor
