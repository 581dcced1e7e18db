#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace stipplor {

// Whether a BMP, JPEG or GIF file ends before its first picture does. Qt's readers accept such
// files and fill the missing part with grey or black; a half-copied file must be refused
// instead. `format` is the reader's name for the format ("bmp", "jpeg", "gif"); other formats
// are left to their readers, which refuse truncated files themselves.
bool IsTruncated(QByteArrayView bytes, const QByteArray& format);

}  // namespace stipplor
