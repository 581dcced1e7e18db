#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <string>
#include <string_view>

namespace stipplor {

// File names on Linux are bytes, not text: an old archive gives "caf\xE9.bmp" in Latin-1. Qt
// turns bytes that are no UTF-8 into U+FFFD, after which the file cannot be found again, so the
// programs carry names as QStrings that keep each such byte as a lone surrogate U+DC80..U+DCFF
// (as Python's "surrogateescape" does), and turn them back into the very bytes to open a file.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameBytes(const QString& name);

// A name for messages and captions: its UTF-8 as it is, each other byte, and each byte of a
// control character (ESC, DEL, ...), as "\xHH".
std::string ReadableFileName(std::string_view bytes);
QString ReadableFileName(const QString& name);

}  // namespace stipplor
