#include "picture_io/file_names.h"

#include <cstdio>

namespace stipplor {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence that starts at `at`, or 0 when there is none:
// no overlong forms, no surrogates, nothing above U+10FFFF.
qsizetype Utf8Length(QByteArrayView bytes, qsizetype at) {
  const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  qsizetype length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > bytes.size() || byte(1) < low || byte(1) > high) return 0;
  for (qsizetype i = 2; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
  }
  return length;
}

// Whether the character of `length` bytes at `at` is a control character (C0, DEL or C1), which
// would act on a terminal instead of showing.
bool IsControl(QByteArrayView bytes, qsizetype at, qsizetype length) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (length == 1) return lead < 0x20 || lead == 0x7F;
  return length == 2 && lead == 0xC2 && static_cast<unsigned char>(bytes[at + 1]) < 0xA0;
}

bool IsEscapedByte(const QString& name, qsizetype i) {
  const char16_t c = name[i].unicode();
  return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF &&
         (i == 0 || !name[i - 1].isHighSurrogate());
}

}  // namespace

QString FileNameFromBytes(QByteArrayView bytes) {
  QString name;
  qsizetype from = 0;  // start of the UTF-8 not yet taken over
  for (qsizetype at = 0; at < bytes.size();) {
    if (const qsizetype length = Utf8Length(bytes, at); length > 0) {
      at += length;
      continue;
    }
    name += QString::fromUtf8(bytes.sliced(from, at - from));
    name += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[at])));
    from = ++at;
  }
  return name + QString::fromUtf8(bytes.sliced(from));
}

QByteArray FileNameBytes(const QString& name) {
  QByteArray bytes;
  qsizetype from = 0;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (!IsEscapedByte(name, i)) continue;
    bytes += QStringView(name).sliced(from, i - from).toUtf8();
    bytes += static_cast<char>(name[i].unicode() - kEscapeBase);
    from = i + 1;
  }
  return bytes + QStringView(name).sliced(from).toUtf8();
}

std::string ReadableFileName(std::string_view bytes) {
  const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
  std::string readable;
  for (qsizetype at = 0; at < view.size();) {
    const qsizetype length = Utf8Length(view, at);
    if (length > 0 && !IsControl(view, at, length)) {
      readable.append(bytes.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(length)));
      at += length;
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(view[at++]));
    readable += escaped;
  }
  return readable;
}

QString ReadableFileName(const QString& name) {
  return QString::fromStdString(ReadableFileName(FileNameBytes(name).toStdString()));
}

}  // namespace stipplor
