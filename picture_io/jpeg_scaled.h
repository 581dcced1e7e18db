#pragma once

#include <QByteArrayView>
#include <functional>
#include <optional>

#include "engine/picture.h"

namespace stipplor {

// The JPEG file decoded at 1/`divisor` (2, 4 or 8) of its size, in the file's own orientation,
// by libjpeg, which scales in the DCT so that the whole picture is never held. Each pixel is the
// mean of `divisor` x `divisor` pixels, and the last column and row, of what is left: the size
// is divided and rounded up. Nothing when the decoder fails or cannot give RGB (CMYK).
std::optional<Picture> DecodeJpegFraction(QByteArrayView file, int divisor);

// DecodeJpegFraction, or one that keeps its decodes for the next run over the same file.
using FractionDecoder = std::function<std::optional<Picture>(QByteArrayView file, int divisor)>;

}  // namespace stipplor
