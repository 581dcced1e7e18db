#pragma once

#include <QByteArray>
#include <QString>

namespace stipplor {

// The bytes of a picture file. Only a regular file is ever read: a directory, FIFO or device
// (/dev/zero) is refused before a byte is read, so opening a picture never blocks or runs on.
// A file that ends before the size it had when opened is a truncated picture file.
class PictureFile {
 public:
  // Throws PictureError with the cause ("no such file", "permission denied", "empty file", ...).
  explicit PictureFile(const QString& path);

  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;

  const QByteArray& Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

}  // namespace stipplor
