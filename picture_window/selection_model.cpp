#include "picture_window/selection_model.h"

#include <algorithm>
#include <utility>

namespace stipplor {

namespace {

// The viewport point of the edge of the picture pixel that (x, y) lies in; at 100 % the point
// itself.
std::pair<double, double> Snap(double x, double y, const ViewportMap& view) {
  return {view.ViewportX(view.PictureX(x)), view.ViewportY(view.PictureY(y))};
}

}  // namespace

void SelectionModel::Press(bool plainLeft, int x, int y, const ViewportMap& view) {
  const auto [px, py] = Snap(x, y, view);
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

bool SelectionModel::DrawTo(int x, int y, const ViewportMap& view) {
  const auto [px, py] = Snap(x, y, view);
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

void SelectionModel::MoveTo(int x, int y, const ViewportMap& view, int PW, int PH) {
  // Every shift moves both corners of its axis and the anchor, keeping the size.
  const auto shiftX = [this](double d) {
    SelX0 += d;
    SelX1 += d;
    AnchorX += d;
  };
  const auto shiftY = [this](double d) {
    SelY0 += d;
    SelY1 += d;
    AnchorY += d;
  };
  const auto [px, py] = Snap(x, y, view);
  const auto [left, top] = Snap(px - MoveDX, py - MoveDY, view);
  shiftX(left - SelX0);
  shiftY(top - SelY0);
  const double L = view.L;
  const double T = view.T;
  const double right = view.ViewportX(PW);
  const double bottom = view.ViewportY(PH);
  // Held inside the picture in this order, so that a selection larger than the picture ends
  // flush with the right (bottom) edge. The move offset follows each correction, so the pointer
  // keeps its place relative to the selection as it comes to rest against an edge.
  if (SelX0 < L) {
    const double d = L - SelX0;
    shiftX(d);
    MoveDX -= d;
  }
  if (SelY0 < T) {
    const double d = T - SelY0;
    shiftY(d);
    MoveDY -= d;
  }
  if (SelX1 > right) {
    const double d = SelX1 - right;
    shiftX(-d);
    MoveDX += d;
  }
  if (SelY1 > bottom) {
    const double d = SelY1 - bottom;
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

void SelectionModel::Rezoom(const ViewportMap& from, const ViewportMap& to) {
  for (double* x : {&SelX0, &SelX1, &AnchorX}) *x = to.ViewportX(from.PictureX(*x));
  for (double* y : {&SelY0, &SelY1, &AnchorY}) *y = to.ViewportY(from.PictureY(*y));
  MoveDX = MoveDX / from.Zoom * to.Zoom;
  MoveDY = MoveDY / from.Zoom * to.Zoom;
}

}  // namespace stipplor
