#include "cli/standard_input.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "picture_io/picture_error.h"
#include "picture_io/picture_file.h"

namespace stipplor {

QByteArray ReadStandardInput() {
  constexpr qsizetype kChunk = 1 << 16;
  QByteArray bytes;
  for (;;) {
    const qsizetype used = bytes.size();
    // Grown by doubling, so that a large picture is not copied once per chunk.
    if (bytes.capacity() < used + kChunk) bytes.reserve(2 * (used + kChunk));
    bytes.resize(used + kChunk);
    const ssize_t got = ::read(STDIN_FILENO, bytes.data() + used, kChunk);
    if (got < 0 && errno == EINTR) {
      bytes.resize(used);
      continue;
    }
    if (got < 0) throw PictureError(std::strerror(errno));
    bytes.resize(used + got);
    if (got == 0) break;
    if (bytes.size() > kMaxFileBytes) throw PictureError("input larger than the 2 GiB limit");
  }
  if (bytes.isEmpty()) throw PictureError("empty input");
  return bytes;
}

}  // namespace stipplor
