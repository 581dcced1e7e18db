#pragma once

#include <QRect>
#include <optional>

namespace stipplor {

// A child window's outer frame in twips (1/1440 inch), relative to the client area's top-left
// corner. Halves of the client area are exact, so values may be fractional.
struct TwipRect {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;
  friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

enum class TileCommand { Horizontally, Vertically };
enum class ChildWindow { Picture, Result };

// Where a tiling command puts `child`, with p and t telling whether the picture window and the
// result window are shown and W x H the client area in twips. Nothing when `child` is not shown.
// "Tile Horizontally" puts the picture window above the result window, "Tile Vertically" to its
// left; the result window is one twip shorter (narrower) than its half; a window shown alone
// fills the client area.
std::optional<TwipRect> TilePlace(TileCommand command, ChildWindow child, bool p, bool t, double W,
                                  double H);

// The smallest room, in pixels, worth placing the first result window in.
inline constexpr QSize kLeastResultRoom{240, 180};

// Where the first result window goes, in pixels: the largest free strip of a client area of
// `area` to the right of, left of, below or above the picture window's frame `picture`, when it
// is at least kLeastResultRoom large; nothing when there is no such room.
std::optional<QRect> PlaceBeside(const QRect& picture, const QSize& area);

// Twips and pixels at `dpi` logical dots per inch.
double ToTwips(int pixels, double dpi);
// Each edge goes to the nearest pixel (halves up), and the size is the distance of the rounded
// edges, so windows that meet in twips meet in pixels too.
QRect ToPixels(const TwipRect& rect, double dpiX, double dpiY);

}  // namespace stipplor
