#pragma once

#include <cmath>

#include "engine/options.h"

namespace stipplor {

// Where the picture stands in the viewport: picture point (x, y) is viewport point
// (x * Zoom + L, y * Zoom + T), with L and T the picture panel's left and top edges (0 or
// negative when scrolled) and Zoom its scale. The one conversion between the two.
struct ViewportMap {
  int L = 0;
  int T = 0;
  double Zoom = 1;

  // The picture pixel that viewport point x (y) lies in.
  int PictureX(double x) const { return static_cast<int>(std::floor((x - L) / Zoom)); }
  int PictureY(double y) const { return static_cast<int>(std::floor((y - T) / Zoom)); }
  double ViewportX(int x) const { return x * Zoom + L; }
  double ViewportY(int y) const { return y * Zoom + T; }
};

// The selection of the picture window, free of widgets. Corners, anchor and move offset are
// held in viewport coordinates, and every point taken from the pointer is first brought to the
// edge of its picture pixel, so that the selection covers whole picture pixels at every zoom.
class SelectionModel {
 public:
  double SelX0 = 0;  // first corner: left and top edges
  double SelY0 = 0;
  double SelX1 = 0;  // second corner: right and bottom edges
  double SelY1 = 0;
  double MoveDX = -1;  // the pointer relative to the first corner while moving; -1 when none
  double MoveDY = -1;
  double AnchorX = 0;  // where the current drawing gesture started
  double AnchorY = 0;
  bool Shown = false;  // a selection exists exactly while its rectangle is shown

  // The state of a newly created picture window.
  void Reset() { *this = SelectionModel{}; }

  // A button pressed at viewport point (px, py). A plain left press starts drawing: the
  // selection is gone and the point is the anchor. Any other press starts moving, grabbing the
  // selection at the point when it lies inside the stored corners (edges included).
  void Press(bool plainLeft, int px, int py, const ViewportMap& view);

  // A drawing step to viewport point (px, py): the rectangle spanned by the anchor and the
  // point. On the anchor's column or row there is none: the selection is hidden and false is
  // answered (the status texts stay as they were).
  bool DrawTo(int px, int py, const ViewportMap& view);

  // A moving step to viewport point (px, py): the first corner goes to the point less the move
  // offset, and the selection is then held inside the picture of PW x PH pixels.
  void MoveTo(int px, int py, const ViewportMap& view, int PW, int PH);

  // The picture panel's left (top) edge moved from `from` to `to`: shift the stored points so
  // that they keep pointing at the same picture pixels.
  void ScrollX(int from, int to);
  void ScrollY(int from, int to);

  // The view was zoomed (and scrolled with it): the stored points go to the same picture pixels,
  // and the move offset scales with the zoom.
  void Rezoom(const ViewportMap& from, const ViewportMap& to);

  // The rectangle in picture pixels.
  Region Rect(const ViewportMap& view) const {
    const int left = view.PictureX(SelX0);
    const int top = view.PictureY(SelY0);
    return {left, top, view.PictureX(SelX1) - left, view.PictureY(SelY1) - top};
  }
};

}  // namespace stipplor
