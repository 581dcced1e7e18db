#include "result_window/save_file.h"

#include <QFile>

#include "output/output_file.h"

namespace stipplor {

QString WriteWhole(const QString& path, std::string_view text) {
  try {
    OutputFile file(QFile::encodeName(path).toStdString());
    file.Write(text);
    file.Commit();
  } catch (const OutputError& error) {
    return QString::fromLocal8Bit(error.what());
  }
  return {};
}

}  // namespace stipplor
