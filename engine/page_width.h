#pragma once

#include <optional>
#include <string>

#include "engine/options.h"
#include "engine/picture.h"

namespace stipplor {

// A size in pixels.
struct PixelSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// A page width beyond the seven options: the region is scaled down, aspect kept, so that its
// cells give a page (a table) that many pixels wide. 0 leaves every page as it is.
//
// The size a region of `width` x `height` pixels is scaled to: pageWidth / 2 cells across, since
// every cell is two page pixels wide (an odd width gives a page one pixel narrower), and at least
// a cell high unless the region is lower than that. Nothing when the region's page is no wider
// than that already: a picture is never enlarged.
std::optional<PixelSize> PageWidthSize(int width, int height, int ratio, int pageWidth);

// The cells of a run over a region of `width` x `height` pixels at this page width.
long long PageCells(int width, int height, int ratio, int pageWidth);

// The region's pixels averaged down to `size` (no larger than the region): each new pixel is the
// mean of the area of the region it covers, counting parts of pixels; pixels outside the picture
// count as black.
Picture AreaAverage(const Picture& picture, const Region& region, PixelSize size);

// The same for a picture of `full` size decoded at 1/`divisor` of it, as a JPEG decoder scales:
// each pixel the mean of `divisor` x `divisor` pixels, those of the last column and row the mean
// of what is left; each counts by the area it stands for. `size` is no larger than `full` /
// `divisor`, rounded down.
Picture AreaAverageDecoded(const Picture& decoded, PixelSize full, int divisor, PixelSize size);

// What a run with a page width reads instead of the picture and its selection: the region (the
// selection, or the whole picture) scaled down. Nothing when the page width leaves it as it is.
std::optional<Picture> ScaleForPageWidth(const Picture& picture,
                                         const std::optional<Region>& selection, int ratio,
                                         int pageWidth);

// The caption's word for a page width, appended to the run's caption: "  Width-800"; empty
// without one.
std::string PageWidthCaption(int pageWidth);

}  // namespace stipplor
