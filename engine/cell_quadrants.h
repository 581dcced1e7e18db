#pragma once

// Internal to the cell encoders: the mean colours of a cell's four quadrants, shared by the B&W
// encoder and the higher-quality colored encoder.

#include <array>

#include "engine/cell_pixels.h"
#include "engine/rounding.h"

namespace stipplor {

// Quadrants 1 upper left, 2 upper right, 3 lower left, 4 lower right, at indices 0..3.
using QuadrantColors = std::array<RgbValues, 4>;

// Share of pixel i of an edge of n pixels in the second half of that edge (out of 2): a pixel
// wholly in the first half gives 0, wholly in the second half 2, the centre pixel of an odd
// edge 1 to each side.
constexpr int SecondHalfShare(int i, int n) {
  if (2 * i + 2 <= n) return 0;
  if (2 * i >= n) return 2;
  return 1;
}

// Weight (out of 4) that pixel (x, y) of a W x H cell gives to quadrant q (0..3). Every pixel
// spreads 4 over the quadrants it overlaps, and every quadrant receives W * H in total.
template <int W, int H>
constexpr int QuadrantWeight(int x, int y, int q) {
  const int below = SecondHalfShare(y, H);
  const int right = SecondHalfShare(x, W);
  return (q >= 2 ? below : 2 - below) * (q % 2 == 1 ? right : 2 - right);
}

// Area-weighted mean colour of each quadrant: the weighted sums divided by W and by H, rounded
// half to even.
template <int W, int H>
QuadrantColors QuadrantMeans(const CellPixels<W, H>& cell) {
  if constexpr (W == 2 && H == 2) {  // each quadrant is one pixel
    return {SplitPixel(cell.Row(0)[0]), SplitPixel(cell.Row(0)[1]), SplitPixel(cell.Row(1)[0]),
            SplitPixel(cell.Row(1)[1])};
  }
  std::array<RgbValues, 4> sums{};
  Unrolled<W * H>([&](auto i) {
    constexpr int x = decltype(i)::value % W;
    constexpr int y = decltype(i)::value / W;
    const RgbValues pixel = SplitPixel(cell.Row(y)[x]);
    Unrolled<4>([&](auto q) {
      constexpr int weight = QuadrantWeight<W, H>(x, y, decltype(q)::value);
      if constexpr (weight != 0) {
        sums[q].red += weight * pixel.red;
        sums[q].green += weight * pixel.green;
        sums[q].blue += weight * pixel.blue;
      }
    });
  });
  QuadrantColors means;
  for (int q = 0; q < 4; ++q) {
    means[q] = {RoundHalfEven<W * H>(sums[q].red), RoundHalfEven<W * H>(sums[q].green),
                RoundHalfEven<W * H>(sums[q].blue)};
  }
  return means;
}

}  // namespace stipplor
