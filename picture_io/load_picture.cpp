#include "picture_io/load_picture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTransform>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/page_width.h"
#include "picture_io/file_structure.h"
#include "picture_io/jpeg_scaled.h"
#include "picture_io/packed_pixels.h"
#include "picture_io/picture_file.h"

namespace stipplor {

namespace {

constexpr long long kBytesPerPixel = 4;

// Qt's own limit counts the decoder's format, which takes up to 8 bytes a pixel (16 bits a
// channel), so it is set to twice the pixel limit and lets every picture within that limit
// open; the pixel limit is checked here, from the header, before anything is allocated.
constexpr int kReaderAllocationLimitMb = static_cast<int>(2 * kMaxDecodedBytes >> 20);

void RequireWithinLimit(long long width, long long height) {
  if (width <= 0 || height <= 0 || height <= kMaxDecodedBytes / kBytesPerPixel / width) return;
  throw PictureError("picture is " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels, larger than the 1 GiB limit");
}

// The image's pixels as a picture, in `pixels`, which the image may already be a view of.
Picture ToPicture(QImage& image, std::vector<PackedColor> pixels) {
  RequireWithinLimit(image.width(), image.height());
  ToPackedColors(image, pixels);
  const int width = image.width();
  const int height = image.height();
  image = QImage();  // lets go of the pixels before they move into the picture
  return Picture(width, height, std::move(pixels));
}

// The JPEG `file` of `size` decoded at `wanted` (both in the file's orientation), then turned
// as stored: scaled in the decoder by the largest of 1/8, 1/4 and 1/2 that leaves at least that
// many whole pixels each way, and area-averaged the rest of the way. Nothing when no eighth
// leaves enough or the decoder declines.
std::optional<Picture> Reduced(const QByteArray& file, QSize size, QSize wanted,
                               QImageIOHandler::Transformations orientation,
                               const FractionDecoder& decode) {
  int divisor = 8;
  while (divisor > 1 &&
         (size.width() / divisor < wanted.width() || size.height() / divisor < wanted.height())) {
    divisor /= 2;
  }
  if (divisor == 1) return std::nullopt;
  const auto decoded = decode(file, divisor);
  const auto dividedUp = [divisor](int value) { return (value + divisor - 1) / divisor; };
  if (!decoded || decoded->Width() != dividedUp(size.width()) ||
      decoded->Height() != dividedUp(size.height())) {
    return std::nullopt;
  }
  Picture reduced = AreaAverageDecoded(*decoded, PixelSize{size.width(), size.height()}, divisor,
                                       PixelSize{wanted.width(), wanted.height()});
  if (orientation == QImageIOHandler::TransformationNone) return reduced;
  QImage image =
      ToQImage(reduced).mirrored(orientation.testFlag(QImageIOHandler::TransformationMirror),
                                 orientation.testFlag(QImageIOHandler::TransformationFlip));
  if (orientation.testFlag(QImageIOHandler::TransformationRotate90)) {
    image = image.transformed(QTransform().rotate(90));
  }
  return ToPicture(image, {});
}

// Decodes the file's bytes. With `choose`, only a JPEG decodes, at the size `choose` answers
// (see Reduced), and nothing comes back for any other file or when it answers an invalid size.
std::optional<Picture> Decode(const QByteArray& file, const ScaledSizeChoice& choose,
                              const FractionDecoder& decode) {
  QByteArray bytes = file;  // shares the data, nothing is copied
  QBuffer device(&bytes);
  device.open(QIODevice::ReadOnly);

  // The limit is process-wide; setting it once keeps loads on several threads from racing.
  static std::once_flag limitSet;
  std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kReaderAllocationLimitMb); });
  QImageReader reader(&device);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);

  if (const auto claimed = HeaderClaimedSize(bytes)) {
    RequireWithinLimit(claimed->width, claimed->height);
  }
  const QByteArray format = reader.format();
  if (choose && format != "jpeg") return std::nullopt;
  if (format.isEmpty()) throw PictureError("not a picture file (unsupported or damaged)");
  const QSize size = reader.size();
  if (size.isValid()) RequireWithinLimit(size.width(), size.height());
  QSize wanted;
  if (choose) {
    if (!size.isValid()) return std::nullopt;
    // The decoder scales in the file's own orientation, before the stored one is applied.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    wanted = choose(turned ? size.transposed() : size);
    if (!wanted.isValid()) return std::nullopt;
    if (turned) wanted.transpose();
  }
  if (IsTruncated(bytes, format)) throw PictureError("damaged picture file (truncated)");
  if (choose) return Reduced(bytes, size, wanted, reader.transformation(), decode);

  // Most pictures decode to 32-bit pixels; those are decoded straight into the picture's own
  // memory and converted in place, so a large picture is held once, not twice.
  std::vector<PackedColor> pixels;
  QImage image;
  const QImage::Format decoded = reader.imageFormat();
  if (size.isValid() && (decoded == QImage::Format_RGB32 || decoded == QImage::Format_ARGB32)) {
    pixels.resize(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()));
    image = QImage(reinterpret_cast<uchar*>(pixels.data()), size.width(), size.height(),
                   static_cast<qsizetype>(size.width()) * kBytesPerPixel, decoded);
  }
  // The reader starts at the first image, so an animated GIF gives its first frame.
  if (!reader.read(&image)) {
    throw PictureError("damaged picture file (" + reader.errorString().toStdString() + ")");
  }
  // Some readers (MNG) report success for a damaged file and hand over no picture at all.
  if (image.isNull()) throw PictureError("damaged picture file (no picture in it)");
  return ToPicture(image, std::move(pixels));
}

}  // namespace

Picture LoadPicture(const QString& path) {
  const PictureFile file(path);
  return DecodePicture(file.Bytes());
}

Picture DecodePicture(const QByteArray& file) { return Decode(file, {}, {}).value(); }

Picture PictureFromImage(QImage image) {
  if (image.isNull()) throw PictureError("no picture");
  return ToPicture(image, {});
}

std::optional<Picture> DecodeJpegScaled(const QByteArray& file, const ScaledSizeChoice& choose,
                                        const FractionDecoder& decode) {
  return Decode(file, choose, decode);
}

}  // namespace stipplor
