#pragma once

#include <array>
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

// The picture window's zoom: the scale of the picture panel, one picture pixel shown as that many
// viewport pixels. The bars, their 8-pixel positions and their ranges work on the panel as at
// 100 %. Every zoom is a whole number of 1/1024ths, so that viewport coordinates (picture
// coordinates times the zoom plus the scroll offset) are exact doubles.
inline constexpr std::array<double, 4> kZoomLevels = {0.25, 0.5, 1, 2};
// The zoom choice that follows the window's size.
inline constexpr double kFitToWindow = 0;

// The panel's width (height) for a picture `length` pixels wide (high).
int PanelLength(int length, double zoom);

// "Fit to Window": the largest zoom, at most 100 %, at which a PW x PH picture needs no bars in
// a window of W x H.
double FitZoom(int W, int H, int PW, int PH);

// The level `steps` levels above (below, when negative) `zoom`, stopping at the first and last.
double NextZoom(double zoom, int steps);

// The panel's left (top) edge after a zoom change that keeps the picture point under viewport
// point `at` in place, as a scroll offset: a multiple of 8, 0 or negative.
int ZoomedOffset(int offset, int at, double from, double to);

// Scroll positions per step while a drag is held at viewport point `at` of a viewport `length`
// pixels long: one at an edge, one more for every 16 pixels beyond it, at most 8; negative
// towards the left (top), 0 inside.
int DragScrollStep(int at, int length);

}  // namespace stipplor
