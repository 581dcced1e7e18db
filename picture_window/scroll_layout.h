#pragma once

#include <optional>

namespace stipplor {

// Arithmetic of the picture window's layout on resize: which scroll bars are shown, the size of
// the viewport, where the bars stand, and their ranges. All values are pixels; one scroll
// position is 8 pixels.
struct ScrollLayoutInput {
  int W = 0;  // the window's inner width
  int H = 0;  // the window's inner height
  bool Minimized = false;
  int PW = 0;  // size of the picture panel
  int PH = 0;
  int PL = 0;  // the picture panel's left and top edges: 0 or minus the scroll offset
  int PT = 0;
};

// One scroll bar. Edge is the top of the horizontal bar or the left of the vertical one;
// Length its width or height. Maximum and Position only mean something while the bar is shown.
struct ScrollBarLayout {
  bool Shown = false;
  int Edge = 0;
  int Length = 0;
  int Maximum = 0;
  int Position = 0;
  friend bool operator==(const ScrollBarLayout&, const ScrollBarLayout&) = default;
};

struct ScrollLayout {
  int ViewportWidth = 0;
  int ViewportHeight = 0;
  ScrollBarLayout HScroll;
  ScrollBarLayout VScroll;
  friend bool operator==(const ScrollLayout&, const ScrollLayout&) = default;
};

// Thickness of a scroll bar; a bar stands this far in from the right or bottom edge.
inline constexpr int kBarThickness = 18;
// What the viewport loses when a bar is shown: the bar and a one-pixel gap.
inline constexpr int kBarSpace = 19;
// How close the picture may come to the far edge before one bar makes the other necessary.
inline constexpr int kBarMargin = 20;
inline constexpr int kPixelsPerPosition = 8;
// Scroll offsets are 16-bit: the last position whose offset fits is 4095 (-32760 pixels).
inline constexpr int kMaxScrollPosition = 4095;

// Nothing when the window is minimised or 0 high (the layout stays as it is). Throws
// OverflowError ("Overflow") when a scroll range would pass kMaxScrollPosition.
std::optional<ScrollLayout> LayOut(const ScrollLayoutInput& in);

// The layout right after a picture replaced the previous one: the bars and ranges that the new
// picture's size needs, and the previous scroll positions kept as far as the new ranges reach
// (a bar that is no longer needed stands at 0). Otherwise as LayOut.
std::optional<ScrollLayout> LayOutNewPicture(const ScrollLayoutInput& in);

}  // namespace stipplor
