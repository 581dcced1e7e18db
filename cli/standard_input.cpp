#include "cli/standard_input.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "picture_io/picture_error.h"
#include "picture_io/picture_file.h"

namespace stipplor {

QByteArray ReadStandardInput() {
  // A file redirected in ("- < photo.jpg") is looked at first, as a named file is, so that one
  // too large is refused unread.
  struct stat status {};
  if (::fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode)) {
    RequirePictureFileSize(status.st_size - ::lseek(STDIN_FILENO, 0, SEEK_CUR));
  }
  constexpr qsizetype kChunk = 1 << 16;
  QByteArray bytes;
  for (;;) {
    const qsizetype used = bytes.size();
    // Grown by doubling, so that a large picture is not copied once per chunk.
    if (bytes.capacity() < used + kChunk) bytes.reserve(2 * (used + kChunk));
    bytes.resize(used + kChunk);
    const ssize_t got = ::read(STDIN_FILENO, bytes.data() + used, kChunk);
    if (got < 0) bytes.resize(used);
    if (got < 0 && errno == EINTR) continue;
    // Standard input may have been left non-blocking by the program that shares it.
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd ready{.fd = STDIN_FILENO, .events = POLLIN, .revents = 0};
      ::poll(&ready, 1, -1);
      continue;
    }
    if (got < 0) throw PictureError(FileErrorCause(errno));
    bytes.resize(used + got);
    if (got == 0) break;
    if (bytes.size() > kMaxFileBytes) throw PictureError("input larger than the 2 GiB limit");
  }
  if (bytes.isEmpty()) throw PictureError("empty input");
  return bytes;
}

}  // namespace stipplor
