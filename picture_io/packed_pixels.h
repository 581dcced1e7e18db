#pragma once

#include <QImage>
#include <vector>

#include "engine/picture.h"

namespace stipplor {

// Fills `pixels` with the image's colours as packed colours, row after row, each transparent
// pixel composited over white. The image may be a view of `pixels`' own memory (a picture
// decoded in place); then the colours are converted where they are. May convert `image`.
void ToPackedColors(QImage& image, std::vector<PackedColor>& pixels);

// The picture as Qt shows it: exactly the pixels an encoding run reads.
QImage ToQImage(const Picture& picture);

}  // namespace stipplor
