// Hilbert dither shapes of the Fractal style. A cell index is mapped to a point of a square grid;
// the square is split into quadrants level by level in the manner of a Hilbert curve, the
// quadrant holding the point is turned onto the next, half-sized square, and the quarter turns
// are counted. The shape is that count modulo 4.
//
// Plain int arithmetic: every 16-bit index, even one beyond the 16383 that a 16-bit grid could
// hold, maps to a grid point without overflow. Negative indices (cells left of or above the
// picture) follow the same steps; they never enlarge the square and the descent still ends.

#include <array>
#include <bit>
#include <cstdint>

#include "engine/cells.h"

namespace stipplor {
namespace {

constexpr int Odd(int axx, int ayy, int asize, int arot);

// Squares whose edge is an even power of two (1, 4, 16, ...).
constexpr int Even(int axx, int ayy, int asize, int arot) {
  if (asize == 1) return arot % 4;
  const int h = asize / 2;
  if (ayy < h) {
    if (axx < h) return Odd(axx, ayy, h, arot);
    return Odd(2 * h - 1 - axx, h - 1 - ayy, h, arot + 2);
  }
  if (axx < h) return Odd(ayy - h, h - 1 - axx, h, arot + 3);
  return Odd(ayy - h, 2 * h - 1 - axx, h, arot + 3);
}

// Squares whose edge is an odd power of two (2, 8, 32, ...); never given an edge of 1.
constexpr int Odd(int axx, int ayy, int asize, int arot) {
  const int h = asize / 2;
  if (ayy < h) {
    if (axx < h) return Even(axx, ayy, h, arot);
    return Even(h - 1 - ayy, axx - h, h, arot + 1);
  }
  if (axx < h) return Even(h - 1 - axx, 2 * h - 1 - ayy, h, arot + 2);
  return Even(2 * h - 1 - ayy, axx - h, h, arot + 1);
}

// Every step of the descent turns the point by as many quarter turns as it adds to the count,
// and a turn acts on each pair of coordinate bits alike. So after t turns (mod 4) the next two
// levels see the point's next two bits of x and y turned t times, and they add what the
// descent through a square of edge 4 adds for those bits. Indexed by 16 t + 4 y-bits + x-bits.
constexpr std::array<std::uint8_t, 64> kTwoLevels = [] {
  std::array<std::uint8_t, 64> table{};
  for (int t = 0; t < 4; ++t) {
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) {
        int tx = x;
        int ty = y;
        for (int turn = 0; turn < t; ++turn) {  // one quarter turn: (x, y) -> (3 - y, x)
          const int previousX = tx;
          tx = 3 - ty;
          ty = previousX;
        }
        table[16 * t + 4 * y + x] = static_cast<std::uint8_t>((t + Even(tx, ty, 4, 0)) % 4);
      }
    }
  }
  return table;
}();

// Four levels at once, by two steps of the table above. Indexed by 256 t + 16 y-bits + x-bits.
constexpr std::array<std::uint8_t, 1024> kFourLevels = [] {
  std::array<std::uint8_t, 1024> table{};
  for (int t = 0; t < 4; ++t) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const int high = kTwoLevels[16 * t + 4 * (y >> 2) + (x >> 2)];
        table[256 * t + 16 * y + x] = kTwoLevels[16 * high + 4 * (y & 3) + (x & 3)];
      }
    }
  }
  return table;
}();

}  // namespace

int GetHilbertShape(int aii, int ajj) {
  // The next cell to the right lands 4 to the right and 1 down, the next cell below 1 to the
  // right and 4 down.
  const int xx = 4 * aii + ajj;
  const int yy = 4 * ajj + aii;
  if (xx < 0 || yy < 0) {
    // The smallest power of four greater than both; a negative coordinate never needs more.
    int size = 1;
    while (xx >= size || yy >= size) size *= 4;
    return Even(xx, yy, size, 0);
  }
  // Leading levels of zero bits lie in upper-left quadrants, which turn nothing: start at the
  // highest group of four bits that holds a one.
  int turns = 0;
  for (int shift = (std::bit_width(static_cast<unsigned>(xx | yy)) + 3) / 4 * 4 - 4; shift >= 0;
       shift -= 4) {
    turns = kFourLevels[256 * turns + 16 * (yy >> shift & 15) + (xx >> shift & 15)];
  }
  return turns;
}

int GetHilbertShapeEven(int axx, int ayy, int asize, int arot) {
  return Even(axx, ayy, asize, arot);
}

int GetHilbertShapeOdd(int axx, int ayy, int asize, int arot) { return Odd(axx, ayy, asize, arot); }

}  // namespace stipplor
