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

QString WriteWhole(const QString& path, std::string_view text) {
  try {
    OutputFile file(FileNameBytes(path).toStdString());
    file.Write(text);
    file.Commit();
  } catch (const OutputError& error) {
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}

}  // namespace stipplor
