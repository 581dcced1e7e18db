// GetPixColLoQu: the colored cell encoder of lower quality. A cell becomes one flat table cell
// of its mean colour.

#include "engine/cell_pixels.h"
#include "engine/cells.h"
#include "engine/rounding.h"

namespace stipplor {

ColorText GetPixColLoQu(const Picture& picture, Int16 Left, Int16 Top, Int16 Width, Int16 Height) {
  return WithCellSize(Width, Height, [&]<int W, int H>() {
    const CellPixels<W, H> cell(picture, Left, Top, 0);
    // At most 16 pixels of at most 255: the sums stay far inside 16 bits.
    int red = 0;
    int green = 0;
    int blue = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const RgbValues pixel = SplitPixel(cell.Row(y)[x]);
        red += pixel.red;
        green += pixel.green;
        blue += pixel.blue;
      }
    }
    return RGB2Hex(RoundHalfEven<W * H>(red), RoundHalfEven<W * H>(green),
                   RoundHalfEven<W * H>(blue));
  });
}

}  // namespace stipplor
