#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

#include "engine/options.h"
#include "engine/picture.h"
#include "picture_io/load_picture.h"

namespace stipplor {

// The picture a run with a page width reads instead of the picture and its selection. Both
// programs make it here, in one way, so that their pages agree byte for byte.
//
// `file` holds the picture file's bytes; `whole` answers the picture decoded from them and is
// asked only when needed. Over the whole of a JPEG, the file is decoded straight at 1/2, 1/4 or
// 1/8 of its size, the smallest that is still at least the size wanted, and averaged down the
// rest of the way; otherwise the region of the whole picture is averaged down. Nothing when the
// page width leaves the region as it is (see PageWidthSize). `decode` makes the JPEG's fraction
// (a search over page widths keeps its decodes).
std::optional<Picture> PictureForPage(const QByteArray& file,
                                      const std::function<const Picture&()>& whole,
                                      const std::optional<Region>& selection, int ratio,
                                      int pageWidth,
                                      const FractionDecoder& decode = DecodeJpegFraction);

}  // namespace stipplor
