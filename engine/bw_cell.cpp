// GetPixBW: the B&W cell encoder. A cell becomes two characters that draw it as a 2 x 2 raster
// of sub-cells (1 upper left, 2 upper right, 3 lower left, 4 lower right); the cell's brightness
// decides how many sub-cells get ink, the darkest sub-cells (after the style's bias) get it.

#include <algorithm>
#include <array>
#include <stdexcept>

#include "engine/cell_quadrants.h"
#include "engine/cells.h"

namespace stipplor {
namespace {

// Fragment of each ink set, indexed by a mask with bit k - 1 set for an inked sub-cell k. The
// first character draws sub-cells 1 (upper) and 3 (lower), the second sub-cells 2 and 4: "'"
// upper, "." lower, "I" both. A blank is the entity in the first place and a space in the
// second, so a row never holds two plain spaces in a row for the browser to collapse.
constexpr std::array<std::string_view, 16> kFragments = {
    "&nbsp; ",  // none
    "' ",       // 1
    "&nbsp;'",  // 2
    "''",       // 1, 2
    ". ",       // 3
    "I ",       // 1, 3
    ".'",       // 2, 3
    "I'",       // 1, 2, 3
    "&nbsp;.",  // 4
    "'.",       // 1, 4
    "&nbsp;I",  // 2, 4
    "'I",       // 1, 2, 4
    "..",       // 3, 4
    "I.",       // 1, 3, 4
    ".I",       // 2, 3, 4
    "II",       // all
};

enum Style { kPlain = 0, kPattern = 1, kDotted = 2, kFractal = 3 };

using SubCells = std::array<int, 4>;

// How much the style lowers each sub-cell's comparison value, so that in flat areas the ink
// lands in fixed places. Never changes how many sub-cells get ink.
SubCells StyleBias(int style, bool oddCell, int cellColumn, int cellRow) {
  switch (style) {
    case kPattern:
      return {154, 0, 204, 77};
    case kDotted:
      return oddCell ? SubCells{24, 0, 8, 16} : SubCells{8, 16, 24, 0};
    case kFractal: {
      // A U-shaped path through the quarters, opened towards the top, left, bottom or right.
      static constexpr std::array<SubCells, 4> kShapes = {
          {{3, 0, 2, 1}, {3, 2, 0, 1}, {1, 2, 0, 3}, {1, 0, 2, 3}}};
      const int k = oddCell ? 2 : 4;
      SubCells bias = kShapes[static_cast<std::size_t>(GetHilbertShape(cellColumn, cellRow))];
      for (int& b : bias) b *= k;
      return bias;
    }
    default:
      return {0, 0, 0, 0};
  }
}

// Bit 4 * i + j of a comparison mask says that sub-cell i + 1 is at most as bright as sub-cell
// j + 1 (by comparison value).
int ComparisonMask(const SubCells& s) {
  int mask = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (j != i) mask |= (s[i] <= s[j] ? 1 : 0) << (4 * i + j);
    }
  }
  return mask;
}

// The comparison bits that say every sub-cell of an ink set is at most as bright as every
// sub-cell outside it, i.e. that the set holds the darkest sub-cells.
constexpr std::array<int, 16> kDarkest = [] {
  std::array<int, 16> required{};
  for (int ink = 0; ink < 16; ++ink) {
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) {
        if ((ink >> i & 1) != 0 && (ink >> j & 1) == 0) required[ink] |= 1 << (4 * i + j);
      }
    }
  }
  return required;
}();

// Per level (the number of white sub-cells), the ink sets in the order they are tried: the
// first is taken as it is, each later one replaces the choice when it holds the darkest
// sub-cells, so ties go to the later set. Level 3: sub-cell 4 gets the ink only when strictly
// darkest, else 3 before 2 before 1; level 1 likewise for the sub-cell left white; at level 2
// a cell of four equal values gets sub-cells 1 and 4.
struct Choices {
  int count;
  std::array<int, 6> ink;
};
constexpr std::array<Choices, 5> kChoices = {{
    {1, {0b1111}},
    {4, {0b0111, 0b1110, 0b1101, 0b1011}},
    {6, {0b0110, 0b0011, 0b1100, 0b0101, 0b1010, 0b1001}},
    {4, {0b1000, 0b0001, 0b0010, 0b0100}},
    {1, {0b0000}},
}};

int InkMask(const Choices& choices, const SubCells& compare) {
  const int comparisons = ComparisonMask(compare);
  int ink = choices.ink[0];
  for (int c = 1; c < choices.count; ++c) {
    const int required = kDarkest[static_cast<std::size_t>(choices.ink[c])];
    if ((comparisons & required) == required) ink = choices.ink[c];
  }
  return ink;
}

// Everything after the quadrant means: the brightness of each sub-cell, the level of the cell,
// and where the ink goes.
std::string_view Fragment(const QuadrantColors& means, int cellColumn, int cellRow, int style,
                          bool smooth, const BrightnessRange& range) {
  SubCells brightness;
  for (int k = 0; k < 4; ++k) {
    brightness[k] = Brightness(means[k].red, means[k].green, means[k].blue);
  }
  if (style == kPlain) {
    // Stretch so that BWMin is full ink and BWMax full white. The full range 0..1530, the usual
    // one, stretches each value to itself; only the clamp is left of it.
    const bool fullRange = range.BWMin == 0 && range.BWMax == 1530;
    if (range.BWMax == range.BWMin) throw std::invalid_argument("empty brightness range");
    for (int& b : brightness) {
      const int stretched = fullRange ? b : (b - range.BWMin) * 1530 / (range.BWMax - range.BWMin);
      b = std::clamp(stretched, 0, 1530);
    }
  }
  int total = 0;
  for (const int b : brightness) total += b;
  // Checkerboard of cells; cells left of or above the picture can give -1, which counts as odd.
  const bool oddCell = (cellColumn + cellRow) % 2 != 0;
  if (smooth) {
    // A quarter level up on odd cells and down on even ones: areas near a level boundary show
    // both neighbouring levels in a checkerboard.
    total = std::clamp(total + (oddCell ? 615 : 0) - 308, 0, 4920);
  }
  const int level = std::clamp(total / 1230, 0, 4);
  // All or no ink: no comparison needed, nor the style's bias.
  const Choices& choices = kChoices[static_cast<std::size_t>(level)];
  if (choices.count == 1) return kFragments[static_cast<std::size_t>(choices.ink[0])];

  const SubCells bias = StyleBias(style, oddCell, cellColumn, cellRow);
  SubCells compare;
  for (int k = 0; k < 4; ++k) compare[k] = RoundHalfEven<6>(brightness[k]) - bias[k];
  return kFragments[static_cast<std::size_t>(InkMask(choices, compare))];
}

}  // namespace

std::string_view GetPixBW(const Picture& picture, Int16 Left, Int16 Top, Int16 Width, Int16 Height,
                          Int16 BWEncoding, Int16 BWSmoothTransition,
                          const BrightnessRange& range) {
  if (BWEncoding < kPlain || BWEncoding > kFractal) {
    throw std::invalid_argument("B&W style must be 0 to 3");
  }
  return WithCellSize(Width, Height, [&]<int W, int H>() {
    const CellPixels<W, H> cell(picture, Left, Top, kOutside);
    return Fragment(QuadrantMeans(cell), Left / W, Top / H, BWEncoding, BWSmoothTransition != 0,
                    range);
  });
}

}  // namespace stipplor
