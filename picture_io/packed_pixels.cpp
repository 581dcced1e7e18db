#include "picture_io/packed_pixels.h"

#include <cstddef>

namespace stipplor {

namespace {

PackedColor Pack(int red, int green, int blue) { return red | green << 8 | blue << 16; }

// The channel seen through `alpha` on white, rounded to the nearest level.
int OverWhite(int channel, int alpha) {
  return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

void PackOpaqueRow(const QRgb* source, PackedColor* target, std::size_t count) {
  for (std::size_t x = 0; x < count; ++x) {
    const QRgb p = source[x];
    target[x] = Pack(qRed(p), qGreen(p), qBlue(p));
  }
}

void PackOverWhiteRow(const QRgb* source, PackedColor* target, std::size_t count) {
  for (std::size_t x = 0; x < count; ++x) {
    const QRgb p = source[x];
    const int a = qAlpha(p);
    target[x] = a == 255
                    ? Pack(qRed(p), qGreen(p), qBlue(p))
                    : Pack(OverWhite(qRed(p), a), OverWhite(qGreen(p), a), OverWhite(qBlue(p), a));
  }
}

}  // namespace

void ToPackedColors(QImage& image, std::vector<PackedColor>& pixels) {
  const bool transparent = image.hasAlphaChannel();
  const QImage::Format format = transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != format) image.convertTo(format);

  const auto width = static_cast<std::size_t>(image.width());
  const auto height = static_cast<std::size_t>(image.height());
  // An image decoded into `pixels` has exactly this size, so the memory stays where it is.
  pixels.resize(width * height);
  for (std::size_t y = 0; y < height; ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
    PackedColor* target = pixels.data() + y * width;
    if (transparent) {
      PackOverWhiteRow(source, target, width);
    } else {
      PackOpaqueRow(source, target, width);
    }
  }
}

QImage ToQImage(const Picture& picture) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
  for (int y = 0; y < picture.Height(); ++y) {
    auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
    const auto row = picture.Row(y);
    for (std::size_t x = 0; x < row.size(); ++x) {
      const PackedColor c = row[x];
      target[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }
  }
  return image;
}

}  // namespace stipplor
