#pragma once

#include "engine/picture.h"

namespace stipplor {

// The benchmarks' photograph: the astronaut sample mirrored into 4000 x 3000 pixels, so that
// the detail is a real photograph's everywhere and no seam is sharper than the picture itself.
Picture TiledSample(int width = 4000, int height = 3000);

// TiledSample(), made once.
const Picture& BenchPicture();

}  // namespace stipplor
