#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace stipplor {

// The bytes of a picture file. Only a regular file is ever read: a directory, FIFO or device
// (/dev/zero) is refused before a byte is read, so opening a picture never blocks or runs on.
// The file is mapped, not copied, where the system allows it.
class PictureFile {
 public:
  // Throws PictureError with the cause ("no such file", "permission denied", "empty file", ...).
  explicit PictureFile(const QString& path);

  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  // Valid while this object lives.
  const QByteArray& Bytes() const { return bytes_; }

 private:
  QFile file_;
  QByteArray bytes_;
};

}  // namespace stipplor
