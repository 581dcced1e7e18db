#pragma once

#include <QString>

#include "engine/picture.h"
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

}  // namespace stipplor
