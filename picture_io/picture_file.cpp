#include "picture_io/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "picture_io/picture_error.h"

namespace stipplor {

namespace {

std::string Cause(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "no such file";
    case EACCES:
    case EPERM:
      return "permission denied";
    default: {
      std::string text = std::strerror(error);
      if (!text.empty()) text[0] = static_cast<char>(std::tolower(text[0]));
      return text;
    }
  }
}

// Refuses everything but a regular file with content.
void RequireRegularFile(const struct stat& status) {
  if (S_ISDIR(status.st_mode)) throw PictureError("is a directory");
  if (!S_ISREG(status.st_mode)) throw PictureError("not a regular file (a device, FIFO or socket)");
  if (status.st_size == 0) throw PictureError("empty file");
}

}  // namespace

PictureFile::PictureFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat status {};
  // Looked at before opening, because opening some devices already has effects (a tape
  // rewinds); looked at again on the open file, which cannot be swapped underneath.
  if (::stat(name.constData(), &status) != 0) throw PictureError(Cause(errno));
  RequireRegularFile(status);

  // Non-blocking, so that a FIFO put in the file's place meanwhile cannot hold the open.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) throw PictureError(Cause(errno));
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    throw PictureError(Cause(error));
  }
  if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    throw PictureError("cannot read the file");
  }
  RequireRegularFile(status);

  const auto size = static_cast<qint64>(status.st_size);
  if (const uchar* mapped = file_.map(0, size)) {
    bytes_ = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    return;
  }
  bytes_ = file_.readAll();
  if (bytes_.size() != size) throw PictureError("cannot read the file");
}

}  // namespace stipplor
