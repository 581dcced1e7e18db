#pragma once

#include "engine/options.h"

namespace stipplor {

// The selection of the picture window, free of widgets. Corners, anchor and move offset are
// held in viewport coordinates: a picture point plus the current scroll offset (the picture
// panel's left and top edges, 0 or negative).
class SelectionModel {
 public:
  int SelX0 = 0;  // first corner: left and top edges
  int SelY0 = 0;
  int SelX1 = 0;  // second corner: right and bottom edges
  int SelY1 = 0;
  int MoveDX = -1;  // the pointer relative to the first corner while moving; -1 when none
  int MoveDY = -1;
  int AnchorX = 0;  // where the current drawing gesture started
  int AnchorY = 0;
  bool Shown = false;  // a selection exists exactly while its rectangle is shown

  // The state of a newly created picture window.
  void Reset() { *this = SelectionModel{}; }

  // A button pressed at viewport point (px, py). A plain left press starts drawing: the
  // selection is gone and the point is the anchor. Any other press starts moving, grabbing the
  // selection at the point when it lies inside the stored corners (edges included).
  void Press(bool plainLeft, int px, int py);

  // A drawing step to viewport point (px, py): the rectangle spanned by the anchor and the
  // point. On the anchor's column or row there is none: the selection is hidden and false is
  // answered (the status texts stay as they were).
  bool DrawTo(int px, int py);

  // A moving step to viewport point (px, py): the first corner goes to the point less the move
  // offset, and the selection is then held inside the picture, whose left and top edges are L
  // and T and whose size is PW x PH.
  void MoveTo(int px, int py, int L, int T, int PW, int PH);

  // The picture panel's left (top) edge moved from `from` to `to`: shift the stored points so
  // that they keep pointing at the same picture pixels.
  void ScrollX(int from, int to);
  void ScrollY(int from, int to);

  // The rectangle in picture coordinates, with L and T the picture panel's current edges.
  Region Rect(int L, int T) const { return {SelX0 - L, SelY0 - T, SelX1 - SelX0, SelY1 - SelY0}; }
};

}  // namespace stipplor
