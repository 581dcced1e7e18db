#include "picture_window/selection_model.h"

namespace stipplor {

// The anchor moves with the corners too, so that a view scrolled during a drawing gesture
// (by the mouse wheel) keeps the gesture's starting point on its picture pixel.
void SelectionModel::ScrollX(int from, int to) {
  const int shift = to - from;
  SelX0 += shift;
  SelX1 += shift;
  AnchorX += shift;
}

void SelectionModel::ScrollY(int from, int to) {
  const int shift = to - from;
  SelY0 += shift;
  SelY1 += shift;
  AnchorY += shift;
}

}  // namespace stipplor
