#pragma once

#include <optional>

#include "engine/int16.h"
#include "engine/options.h"
#include "engine/picture.h"

namespace stipplor {

// The region of a run cut to whole cells. Width and Height are no longer the size but the
// offsets of the last cell's top-left pixel from Left and Top, as the walk uses them.
struct CellGrid {
  Int16 Left, Top, Width, Height, Ratio;

  // The region is the selection if there is one, else the whole picture; pixels left over at the
  // right and bottom edges are not encoded.
  static CellGrid Cut(const Picture& picture, const std::optional<Region>& selection, Int16 ratio) {
    const Region region = selection.value_or(Region{0, 0, picture.Width(), picture.Height()});
    const Int16 width = To16(region.Width);
    const Int16 height = To16(region.Height);
    return CellGrid{To16(region.Left), To16(region.Top), Sub16(Sub16(width, ratio), width % ratio),
                    Sub16(Sub16(height, ratio), height % ratio), ratio};
  }

  // Cells per row and rows; none when the region is narrower (lower) than one cell.
  int Columns() const { return Width >= 0 ? Width / Ratio + 1 : 0; }
  int Rows() const { return Height >= 0 ? Height / Ratio + 1 : 0; }
  int RowTop(int row) const { return Top + row * Ratio; }
  int ColumnLeft(int column) const { return Left + column * Ratio; }

  // Twice the number of cells per row (rows): the table dimensions.
  Int16 W2() const { return Add16(Mul16(2, Width) / Ratio, 2); }
  Int16 H2() const { return Add16(Mul16(2, Height) / Ratio, 2); }
};

// The walk visits x = Left, Left + Ratio, ... up to Left + Width with a 16-bit counter; the
// step past the last cell must itself stay in range.
inline void StepPastLast(int last, Int16 ratio) { Add16(last, ratio); }

}  // namespace stipplor
