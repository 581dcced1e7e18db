#include "picture_window/selection_model.h"

#include <algorithm>

namespace stipplor {

void SelectionModel::Press(bool plainLeft, int px, int py) {
  if (plainLeft) {
    MoveDX = -1;
    MoveDY = -1;
    AnchorX = SelX0 = px;
    AnchorY = SelY0 = py;
    Shown = false;
    return;
  }
  // The test uses the stored corners whether or not the rectangle is shown.
  if (SelX0 <= px && px <= SelX1 && SelY0 <= py && py <= SelY1) {
    MoveDX = px - SelX0;
    MoveDY = py - SelY0;
  } else {
    MoveDX = -1;
    MoveDY = -1;
  }
}

bool SelectionModel::DrawTo(int px, int py) {
  if (px == AnchorX || py == AnchorY) {
    Shown = false;
    return false;
  }
  SelX0 = std::min(AnchorX, px);
  SelX1 = std::max(AnchorX, px);
  SelY0 = std::min(AnchorY, py);
  SelY1 = std::max(AnchorY, py);
  Shown = true;
  return true;
}

void SelectionModel::MoveTo(int px, int py, int L, int T, int PW, int PH) {
  // Every shift moves both corners of its axis and the anchor, keeping the size.
  const auto shiftX = [this](int d) {
    SelX0 += d;
    SelX1 += d;
    AnchorX += d;
  };
  const auto shiftY = [this](int d) {
    SelY0 += d;
    SelY1 += d;
    AnchorY += d;
  };
  shiftX(px - MoveDX - SelX0);
  shiftY(py - MoveDY - SelY0);
  // Held inside the picture in this order, so that a selection larger than the picture ends
  // flush with the right (bottom) edge. The move offset follows each correction, so the pointer
  // keeps its place relative to the selection as it comes to rest against an edge.
  if (SelX0 < L) {
    const int d = L - SelX0;
    shiftX(d);
    MoveDX -= d;
  }
  if (SelY0 < T) {
    const int d = T - SelY0;
    shiftY(d);
    MoveDY -= d;
  }
  if (SelX1 > L + PW) {
    const int d = SelX1 - (L + PW);
    shiftX(-d);
    MoveDX += d;
  }
  if (SelY1 > T + PH) {
    const int d = SelY1 - (T + PH);
    shiftY(-d);
    MoveDY += d;
  }
}

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
