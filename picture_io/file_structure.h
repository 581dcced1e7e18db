#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace stipplor {

// The size a BMP file's header claims, or none when the bytes are no BMP header. Qt's BMP reader
// refuses pictures beyond 16384 x 16384 without telling their size, so the loader reads it here
// to name it.
struct DeclaredSize {
  long long width = 0;
  long long height = 0;
};
std::optional<DeclaredSize> BmpDeclaredSize(QByteArrayView bytes);

// Whether a BMP, JPEG or GIF file ends before its first picture does. Qt's readers accept such
// files and fill the missing part with grey or black; a half-copied file must be refused
// instead. `format` is the reader's name for the format ("bmp", "jpeg", "gif"); other formats
// are left to their readers, which refuse truncated files themselves.
bool IsTruncated(QByteArrayView bytes, const QByteArray& format);

}  // namespace stipplor
