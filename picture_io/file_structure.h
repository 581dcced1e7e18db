#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace stipplor {

// The size of the picture Qt's reader will allocate for a BMP or GIF file, as its header
// claims it, or none for other files. Qt's BMP reader refuses pictures beyond 16384 x 16384
// without telling their size, and its GIF reader draws every GIF on a canvas of the logical
// screen's size, which it does not tell either; the loader reads them here to check and name
// them before anything is allocated.
struct ClaimedSize {
  long long width = 0;
  long long height = 0;
};
std::optional<ClaimedSize> HeaderClaimedSize(QByteArrayView bytes);

// Whether a BMP, JPEG or GIF file ends before its first picture does. Qt's readers accept such
// files and fill the missing part with grey or black; a half-copied file must be refused
// instead. `format` is the reader's name for the format ("bmp", "jpeg", "gif"); other formats
// are left to their readers, which refuse truncated files themselves.
bool IsTruncated(QByteArrayView bytes, const QByteArray& format);

}  // namespace stipplor
