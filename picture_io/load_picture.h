#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "engine/picture.h"
#include "picture_io/jpeg_scaled.h"
#include "picture_io/picture_error.h"

namespace stipplor {

// The largest picture that opens: 1 GiB of decoded pixels at 4 bytes a pixel
// (16384 x 16384, for example).
inline constexpr long long kMaxDecodedBytes = 1LL << 30;

// Loads a picture file as the one loader of both programs, so that they read the same pixels:
// BMP, GIF, JPEG and whatever else Qt's image reader decodes, judged by content, not by name.
// A GIF gives its first frame; the stored orientation (Exif) is applied; transparent pixels
// are composited over white. Throws PictureError naming the cause.
Picture LoadPicture(const QString& path);

// Decodes the bytes of a picture file as LoadPicture does.
Picture DecodePicture(const QByteArray& file);

// Takes an image that is no file (a pasted one) as LoadPicture takes a decoded file: within the
// same limit, transparent pixels composited over white.
Picture PictureFromImage(QImage image);

// Answers, for the picture's size as shown, the smaller size to decode it at, or an invalid size
// to leave the file undecoded.
using ScaledSizeChoice = std::function<QSize(QSize shown)>;

// Decodes a JPEG at a smaller size: libjpeg scales it in the DCT by 1/8, 1/4 or 1/2, the most
// that leaves at least the size chosen in whole pixels (so the whole picture is never held), and
// the rest of the way is an area average that counts the partial last column and row by the
// area they stand for. Nothing for any other file, when `choose` declines, or when no eighth
// leaves enough pixels. `decode` makes the fraction.
std::optional<Picture> DecodeJpegScaled(const QByteArray& file, const ScaledSizeChoice& choose,
                                        const FractionDecoder& decode = DecodeJpegFraction);

}  // namespace stipplor
