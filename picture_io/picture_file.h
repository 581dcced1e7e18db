#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace stipplor {

// A picture file is read into memory whole; one larger than this is refused unread. Pictures
// that open decode to at most 1 GiB, and no such picture's file comes near twice that.
inline constexpr long long kMaxFileBytes = 2LL << 30;

// The cause of a failed open or read, as the loader names it: "no such file", "permission
// denied", or the system's description in lower case.
std::string FileErrorCause(int error);

// Throws PictureError when a picture file of `size` bytes is empty or too large to be read.
void RequirePictureFileSize(long long size);

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
