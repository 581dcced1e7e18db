#include "picture_window/scroll_layout.h"

#include <algorithm>
#include <cmath>

#include "engine/int16.h"

namespace stipplor {

namespace {

// The range of a bar: the positions needed to bring the picture's far edge into view, rounded
// up; or, when the viewport already reaches past that edge while the picture is scrolled, a
// range that ends at the current position so that the picture stays where it is.
ScrollBarLayout Bar(int edge, int length, int size, int offset, int viewport) {
  constexpr int kRoundUp = kPixelsPerPosition - 1;
  ScrollBarLayout bar{.Shown = true, .Edge = edge, .Length = length};
  bar.Maximum = offset + size >= viewport ? (size - viewport + kRoundUp) / kPixelsPerPosition
                                          : (kRoundUp - offset) / kPixelsPerPosition;
  if (bar.Maximum > kMaxScrollPosition) throw OverflowError();
  bar.Position = -offset / kPixelsPerPosition;
  return bar;
}

}  // namespace

std::optional<ScrollLayout> LayOut(const ScrollLayoutInput& in) {
  if (in.H == 0 || in.Minimized) return std::nullopt;

  // A scrolled picture keeps its bar; then each bar that is needed may make the other needed.
  bool h = in.PL < 0;
  bool v = in.PT < 0;
  if (in.PW >= in.W) h = true;
  if (in.PH >= in.H) v = true;
  if (v && in.PW > in.W - kBarMargin) h = true;
  if (h && in.PH > in.H - kBarMargin) v = true;
  if (v && in.PW > in.W - kBarMargin) h = true;

  ScrollLayout out;
  out.ViewportHeight = h ? in.H - kBarSpace : in.H;
  out.ViewportWidth = v ? in.W - kBarSpace : in.W;
  const int hTop = in.H - kBarThickness;
  const int hWidth = v ? in.W - kBarThickness : in.W;
  const int vLeft = in.W - kBarThickness;
  const int vHeight = h ? in.H - kBarThickness : in.H;
  out.HScroll = h ? Bar(hTop, hWidth, in.PW, in.PL, out.ViewportWidth)
                  : ScrollBarLayout{.Edge = hTop, .Length = hWidth};
  out.VScroll = v ? Bar(vLeft, vHeight, in.PH, in.PT, out.ViewportHeight)
                  : ScrollBarLayout{.Edge = vLeft, .Length = vHeight};
  return out;
}

std::optional<ScrollLayout> LayOutNewPicture(const ScrollLayoutInput& in) {
  // The old offsets say nothing about the new picture: lay it out unscrolled, then scroll back
  // as far as its ranges allow. Positions within the ranges give the same bars and ranges.
  ScrollLayoutInput unscrolled = in;
  unscrolled.PL = 0;
  unscrolled.PT = 0;
  auto out = LayOut(unscrolled);
  if (!out) return out;
  out->HScroll.Position = std::min(-in.PL / kPixelsPerPosition, out->HScroll.Maximum);
  out->VScroll.Position = std::min(-in.PT / kPixelsPerPosition, out->VScroll.Maximum);
  return out;
}

int PanelLength(int length, double zoom) { return static_cast<int>(std::ceil(length * zoom)); }

double FitZoom(int W, int H, int PW, int PH) {
  // A panel at least a pixel smaller than the window in both directions shows no bar.
  constexpr double kSteps = 1024;
  if (PW <= 0 || PH <= 0) return 1;
  const double across = std::floor(kSteps * (W - 1) / PW);
  const double down = std::floor(kSteps * (H - 1) / PH);
  return std::clamp(std::min(across, down), 1.0, kSteps) / kSteps;
}

double NextZoom(double zoom, int steps) {
  for (; steps > 0; --steps) {
    const auto* above = std::upper_bound(kZoomLevels.begin(), kZoomLevels.end(), zoom);
    if (above != kZoomLevels.end()) zoom = *above;
  }
  for (; steps < 0; ++steps) {
    const auto* below = std::lower_bound(kZoomLevels.begin(), kZoomLevels.end(), zoom);
    if (below != kZoomLevels.begin()) zoom = *(below - 1);
  }
  return zoom;
}

int ZoomedOffset(int offset, int at, double from, double to) {
  const double left = at - (at - offset) / from * to;
  return std::min(0, static_cast<int>(std::lround(left / kPixelsPerPosition)) * kPixelsPerPosition);
}

int DragScrollStep(int at, int length) {
  constexpr int kPixelsPerStep = 16;
  constexpr int kMostSteps = 8;
  if (at <= 0) return -std::min(kMostSteps, 1 - at / kPixelsPerStep);
  if (at >= length - 1) return std::min(kMostSteps, 1 + (at - (length - 1)) / kPixelsPerStep);
  return 0;
}

}  // namespace stipplor
