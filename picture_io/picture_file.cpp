#include "picture_io/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

#include "picture_io/file_names.h"
#include "picture_io/picture_error.h"

namespace stipplor {

std::string FileErrorCause(int error) {
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

void RequirePictureFileSize(long long size) {
  if (size == 0) throw PictureError("empty file");
  if (size > kMaxFileBytes) throw PictureError("file larger than the 2 GiB limit");
}

namespace {

// Refuses everything but a regular file with content.
void RequireRegularFile(const struct stat& status) {
  if (S_ISDIR(status.st_mode)) throw PictureError("is a directory");
  if (!S_ISREG(status.st_mode)) throw PictureError("not a regular file (a device, FIFO or socket)");
  RequirePictureFileSize(status.st_size);
}

}  // namespace

PictureFile::PictureFile(const QString& path) {
  const QByteArray name = FileNameBytes(path);
  struct stat status {};
  // Looked at before opening, because opening some devices already has effects (a tape
  // rewinds); looked at again on the open file, which cannot be swapped underneath.
  if (::stat(name.constData(), &status) != 0) throw PictureError(FileErrorCause(errno));
  RequireRegularFile(status);

  // Non-blocking, so that a FIFO put in the file's place meanwhile cannot hold the open.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) throw PictureError(FileErrorCause(errno));
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    throw PictureError(FileErrorCause(error));
  }
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    throw PictureError("cannot read the file");
  }
  RequireRegularFile(status);

  // Read, not mapped: when another program shortens the file meanwhile (a download or a sync
  // still writing it), this load fails as truncated instead of the whole program with SIGBUS.
  const auto size = static_cast<qint64>(status.st_size);
  bytes_.resize(size);
  for (qint64 done = 0; done < size;) {
    const qint64 got = file.read(bytes_.data() + done, size - done);
    if (got < 0) throw PictureError("cannot read the file");
    if (got == 0) throw PictureError("damaged picture file (truncated)");
    done += got;
  }
}

}  // namespace stipplor
