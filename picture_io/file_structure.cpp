#include "picture_io/file_structure.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace stipplor {

namespace {

using Bytes = QByteArrayView;

std::uint32_t Byte(Bytes b, qsizetype at) { return static_cast<unsigned char>(b[at]); }
std::uint32_t Le16(Bytes b, qsizetype at) { return Byte(b, at) | Byte(b, at + 1) << 8; }
std::uint32_t Le32(Bytes b, qsizetype at) { return Le16(b, at) | Le16(b, at + 2) << 16; }
std::uint32_t Be16(Bytes b, qsizetype at) { return Byte(b, at) << 8 | Byte(b, at + 1); }

struct BmpHeader {
  std::uint64_t offset = 0;  // where the pixels start
  std::uint64_t width = 0;
  std::uint64_t height = 0;
  std::uint64_t bits = 0;  // a pixel
  std::uint64_t compression = 0;
  std::uint64_t imageSize = 0;  // bytes of pixel data, 0 when uncompressed
};

std::optional<BmpHeader> ReadBmpHeader(Bytes b) {
  constexpr qsizetype kCoreHeaderEnd = 26;  // file header (14) + the 12-byte OS/2 header
  constexpr qsizetype kInfoHeaderEnd = 38;  // the fields of the 40-byte header that count here
  if (b.size() < kCoreHeaderEnd || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  BmpHeader header;
  header.offset = Le32(b, 10);
  if (Le32(b, 14) == 12) {
    header.width = Le16(b, 18);
    header.height = Le16(b, 20);
    header.bits = Le16(b, 24);
    return header;
  }
  if (b.size() < kInfoHeaderEnd) return std::nullopt;
  // A negative height marks rows stored top down.
  header.width = static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(Le32(b, 18))));
  header.height = static_cast<std::uint64_t>(std::llabs(static_cast<std::int32_t>(Le32(b, 22))));
  header.bits = Le16(b, 28);
  header.compression = Le32(b, 30);
  header.imageSize = Le32(b, 34);
  return header;
}

// BMP: the pixel array must reach as far as the header says.
bool BmpTruncated(Bytes b) {
  const std::optional<BmpHeader> header = ReadBmpHeader(b);
  if (!header) return true;
  std::uint64_t needed = header->offset;
  switch (header->compression) {
    case 0:    // rows of pixels, each padded to 4 bytes (Qt's reader wants the padding too)
    case 3:    // the same with colour masks
    case 6: {  // the same with an alpha mask
      const std::uint64_t row = (header->width * header->bits + 31) / 32 * 4;
      if (row != 0 && header->height > (UINT64_MAX / 2) / row) {
        return true;  // no file is that long
      }
      needed += row * header->height;
      break;
    }
    case 1:  // run-length coded: as many bytes as the header announces
    case 2:
      needed += header->imageSize;
      break;
    default:
      return false;
  }
  return static_cast<std::uint64_t>(b.size()) < needed;
}

// JPEG: walks the markers (segments are skipped by their length, so a thumbnail inside the
// Exif segment is passed over) until the end-of-image marker; running out first means the
// file was cut. Scanning for 0xFF also passes over the entropy-coded data after each scan
// header, where 0xFF 0x00 is a stuffed byte and 0xFF 0xD0..0xD7 a restart marker.
bool JpegTruncated(Bytes b) {
  const char* data = b.data();
  qsizetype at = 2;  // after the start-of-image marker
  while (at < b.size()) {
    const void* found = std::memchr(data + at, 0xFF, static_cast<std::size_t>(b.size() - at));
    if (found == nullptr) return true;
    at = static_cast<const char*>(found) - data;
    while (at < b.size() && Byte(b, at) == 0xFF) {
      ++at;  // fill bytes
    }
    if (at >= b.size()) return true;
    const std::uint32_t marker = Byte(b, at++);
    if (marker == 0xD9) return false;
    const bool standalone = marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
    if (standalone) continue;
    if (at + 2 > b.size()) return true;
    at += Be16(b, at);  // the length counts its own two bytes
  }
  return true;
}

// Skips a chain of GIF data sub-blocks; returns the position after its terminator, or -1 when
// the file ends first.
qsizetype SkipSubBlocks(Bytes b, qsizetype at) {
  while (at < b.size()) {
    const std::uint32_t length = Byte(b, at);
    at += 1 + length;
    if (length == 0) return at;
  }
  return -1;
}

qsizetype ColourTableSize(std::uint32_t flags) {
  return (flags & 0x80) != 0 ? qsizetype{3} << ((flags & 7) + 1) : 0;
}

// GIF: the first picture (the one that is read) must be complete up to its block terminator.
bool GifTruncated(Bytes b) {
  constexpr qsizetype kScreenDescriptorEnd = 13;
  constexpr qsizetype kImageDescriptorSize = 10;
  if (b.size() < kScreenDescriptorEnd) return true;
  qsizetype at = kScreenDescriptorEnd + ColourTableSize(Byte(b, 10));
  while (at < b.size()) {
    switch (Byte(b, at)) {
      case 0x21:  // extension: label, then sub-blocks
        at = SkipSubBlocks(b, at + 2);
        if (at < 0) return true;
        break;
      case 0x2C:  // image descriptor, local colour table, code size, then the image data
        if (at + kImageDescriptorSize > b.size()) return true;
        at += kImageDescriptorSize + ColourTableSize(Byte(b, at + 9));
        return SkipSubBlocks(b, at + 1) < 0;
      default:  // the trailer or damage; the reader judges
        return false;
    }
  }
  return true;
}

}  // namespace

std::optional<ClaimedSize> HeaderClaimedSize(QByteArrayView bytes) {
  constexpr qsizetype kGifScreenEnd = 10;
  if (const std::optional<BmpHeader> header = ReadBmpHeader(bytes)) {
    return ClaimedSize{static_cast<long long>(header->width),
                       static_cast<long long>(header->height)};
  }
  if (bytes.size() >= kGifScreenEnd && bytes.startsWith("GIF8")) {
    return ClaimedSize{Le16(bytes, 6), Le16(bytes, 8)};
  }
  return std::nullopt;
}

bool IsTruncated(QByteArrayView bytes, const QByteArray& format) {
  if (format == "bmp") return BmpTruncated(bytes);
  if (format == "jpeg" || format == "jpg") return JpegTruncated(bytes);
  if (format == "gif") return GifTruncated(bytes);
  return false;
}

}  // namespace stipplor
