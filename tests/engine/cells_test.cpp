// The cell encoders, one cell at a time.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/engine/support.h"

namespace stipplor {
namespace {

using namespace test;

enum Style : Int16 { kPlain = 0, kPattern = 1, kDotted = 2, kFractal = 3 };
constexpr Int16 kStyles[] = {kPlain, kPattern, kDotted, kFractal};
const PackedColor k = Grey(0), w = Grey(255);

std::string BWCell(const Picture& picture, Int16 left, Int16 top, Int16 style, Int16 smooth = 0,
                   BrightnessRange range = {}, Int16 size = 2) {
  return std::string(GetPixBW(picture, left, top, size, size, style, smooth, range));
}

TEST(GetPixBW, UniformGreyCellsAtBothParities) {
  // The cell at x = 0 has parity 0, the one at x = 2 parity 1; both have Fractal shape 0.
  struct Row {
    std::vector<int> greys;
    const char *plain, *pattern, *dotted0, *dotted1, *fractal;
  };
  const Row rows[] = {
      {{0, 40}, "II", "II", "II", "II", "II"},
      {{64, 100}, "'I", "I.", "I'", "I.", "I."},
      {{128, 150}, "'.", "I ", ".'", "'.", "I "},
      {{192, 200}, ". ", ". ", ". ", "' ", "' "},
      {{230, 255}, "&nbsp; ", "&nbsp; ", "&nbsp; ", "&nbsp; ", "&nbsp; "},
  };
  for (const Row& row : rows) {
    for (const int g : row.greys) {
      const Picture picture = Filled(4, 2, Grey(g));
      for (const int left : {0, 2}) {
        EXPECT_EQ(BWCell(picture, left, 0, kPlain), row.plain) << g;
        EXPECT_EQ(BWCell(picture, left, 0, kPattern), row.pattern) << g;
        EXPECT_EQ(BWCell(picture, left, 0, kDotted), left ? row.dotted1 : row.dotted0) << g;
        EXPECT_EQ(BWCell(picture, left, 0, kFractal), row.fractal) << g;
      }
    }
  }
  // Smooth transition: a checkerboard near the level boundaries.
  const std::tuple<int, const char*, const char*> smooth[] = {
      {40, "II", "'I"},       {100, "'I", "'."}, {150, "'.", ". "},
      {200, ". ", "&nbsp; "}, {0, "II", "II"},   {255, "&nbsp; ", "&nbsp; "}};
  for (const auto& [grey, even, odd] : smooth) {
    EXPECT_EQ(BWCell(Filled(4, 2, Grey(grey)), 0, 0, kPlain, -1), even) << grey;
    EXPECT_EQ(BWCell(Filled(4, 2, Grey(grey)), 2, 0, kPlain, -1), odd) << grey;
  }
  // Fractal follows the Hilbert shapes of the cells: in a flat area, and in a nearly flat one
  // (greys 100, 102 over 104, 104) where each shape's bias on each sub-cell decides the ink.
  Picture nearlyFlat(8, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) nearlyFlat.Row(y)[x] = Grey(y % 2 ? 104 : 100 + 2 * (x % 2));
  }
  const char* fractal[2][4] = {{"I ", "I ", "..", "I "}, {"&nbsp;I", "I ", "I ", "''"}};
  const char* fractalSlope[2][4] = {{"I ", "I ", "'.", "I "}, {"'.", "I ", "I ", "''"}};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 4; ++column) {
      EXPECT_EQ(BWCell(Filled(8, 4, Grey(128)), 2 * column, 2 * row, kFractal),
                fractal[row][column]);
      EXPECT_EQ(BWCell(nearlyFlat, 2 * column, 2 * row, kFractal), fractalSlope[row][column]);
    }
  }
}

TEST(GetPixBW, InkGoesToTheDarkestSubCells) {
  // Grey 200 upper left, 100 upper right, 50 lower left, 150 lower right; level 2 either way.
  const Picture worked(4, 2, {0, 0, Grey(200), Grey(100), 0, 0, Grey(50), Grey(150)});
  for (const int smooth : {0, -1}) {
    EXPECT_EQ(BWCell(worked, 2, 0, kPlain, smooth), ".'");
    EXPECT_EQ(BWCell(worked, 2, 0, kDotted, smooth), ".'");
    EXPECT_EQ(BWCell(worked, 2, 0, kPattern, smooth), "I ");
  }
  // A 4 x 2 picture holding the same cell twice: every style, both parities.
  for (const auto& [pixels, fragment] : {std::pair{std::vector{k, w, k, w, w, w, w, w}, "' "},
                                         {{k, w, k, w, k, w, k, w}, "I "},
                                         {{k, k, k, k, k, w, k, w}, "I'"}}) {
    for (const Int16 style : kStyles) {
      EXPECT_EQ(BWCell(Picture(4, 2, pixels), 0, 0, style), fragment) << style;
      EXPECT_EQ(BWCell(Picture(4, 2, pixels), 2, 0, style), fragment) << style;
    }
  }
  // In a 3 x 3 cell the centre pixel weighs a quarter of each sub-cell.
  for (const Int16 style : kStyles) {
    EXPECT_EQ(BWCell(Picture(3, 3, {w, w, w, w, k, w, w, w, w}), 0, 0, style, 0, {}, 3), "&nbsp; ");
    EXPECT_EQ(BWCell(Picture(3, 3, {k, k, k, k, w, k, k, k, k}), 0, 0, style, 0, {}, 3), "II");
  }
}

TEST(GetPixBW, BrightnessRangeAndLimits) {
  // Plain stretches the range; beyond it the brightness is clamped. Other styles ignore it.
  for (const auto& [grey, fragment] :
       {std::pair{100, "'."}, {60, "II"}, {140, "&nbsp; "}, {40, "II"}, {200, "&nbsp; "}}) {
    EXPECT_EQ(BWCell(Filled(2, 2, Grey(grey)), 0, 0, kPlain, 0, {300, 900}), fragment) << grey;
  }
  EXPECT_EQ(BWCell(Filled(2, 2, Grey(60)), 0, 0, kPattern, 0, {300, 900}), "I.");
  // 4 x 1230 = 4920: no ink. 4919: one inked sub-cell; all comparison values are equal, so
  // sub-cell 3 takes it.
  const PackedColor light = BrightnessColor(1230);
  EXPECT_EQ(BWCell(Filled(2, 2, light), 0, 0, kPlain), "&nbsp; ");
  EXPECT_EQ(BWCell(Picture(2, 2, {light, light, light, BrightnessColor(1229)}), 0, 0, kPlain),
            ". ");
  // Smooth: 4920 drops a level (white, clamped to 4920, stays white: see the uniform cells).
  EXPECT_EQ(BWCell(Filled(2, 2, light), 0, 0, kPlain, -1), ". ");
  // Half left of the picture: red -1, brightness -2 outside; total 2459, level 1 (black
  // outside would make 2463, level 2).
  const Picture half(1, 2, {BrightnessColor(1231), BrightnessColor(1232)});
  EXPECT_EQ(BWCell(half, -1, 0, kPattern), "I.");
  for (const auto& [left, top] : {std::pair{-2, 0}, {0, -2}, {1, 0}, {0, 2}, {-40, -40}}) {
    for (const Int16 style : kStyles) EXPECT_EQ(BWCell(half, left, top, style, -1), "II");
  }
  EXPECT_THROW(BWCell(half, 0, 0, 4), std::invalid_argument);
  EXPECT_THROW(BWCell(half, 0, 0, -1), std::invalid_argument);
  EXPECT_THROW(BWCell(half, 0, 0, kPlain, 0, {700, 700}), std::invalid_argument);
}

// "ffCol bbCol BWMin BWMax" of the region.
std::string Colors(const Picture& picture, Int16 style, const Region& r) {
  ColorText ffCol, bbCol;
  BrightnessRange range{-7, -7};
  GetBWColors(picture, style, r.Left, r.Top, r.Width, r.Height, ffCol, bbCol, range);
  return ffCol.Str() + " " + bbCol.Str() + " " + std::to_string(range.BWMin) + " " +
         std::to_string(range.BWMax);
}

// A picture of one row: `count` pixels of each colour in turn.
Picture Groups(const std::vector<std::pair<PackedColor, int>>& groups) {
  std::vector<PackedColor> pixels;
  for (const auto& [color, count] : groups) pixels.insert(pixels.end(), count, color);
  return Picture(static_cast<int>(pixels.size()), 1, pixels);
}

TEST(GetBWColors, TwoMostPopulousClassesGiveInkAndBackground) {
  const char* kBlackOnWhite = "#000000 #FFFFFF 0 1530";
  const auto threeClasses =
      Groups({{Rgb(0, 0, 128), 50}, {Rgb(255, 255, 200), 30}, {Rgb(200, 0, 0), 20}});
  struct Case {
    Picture picture;
    std::string expected;
    std::vector<Int16> styles = {0, 1, 2, 3};
    Region region{0, 0, -1, 1};  // width -1: the whole row
  };
  // Seven dark and two light pixels in a 3 x 3 region of a white picture: were any white pixel
  // read, the light class would not keep its exact colour.
  std::vector<PackedColor> framed(24, w);
  for (const int i : {7, 8, 9, 13, 14, 15, 19}) framed[i] = Rgb(20, 40, 60);
  for (const int i : {20, 21}) framed[i] = Rgb(220, 200, 180);
  const PackedColor a = Rgb(200, 100, 50), g = Rgb(0, 200, 0);  // g: green
  const Case cases[] = {
      {Groups({{k, 50}, {w, 50}}), kBlackOnWhite},
      // Blue 128 is high: the blue range is 0..200.
      {threeClasses, "#000080 #FFFFC8 128 1475", {0}},
      {threeClasses, "#3F3F8E #FFFFDB 457 1494", {1}},
      // Two classes only: the dithered style does not spread them.
      {Groups({{Rgb(20, 40, 60), 7}, {Rgb(220, 200, 180), 3}}), "#14283C #DCC8B4 220 1220", {1}},
      // The green class 3 is the runner-up, not the light class 8 with the same count.
      {Groups({{Rgb(240, 240, 240), 2}, {Rgb(30, 30, 30), 6}, {Rgb(30, 200, 30), 2}}),
       "#1E481E #25F325 306 840",
       {1}},
      // Three classes of 5: class 1 dominant, class 2 (red) the runner-up.
      {Groups({{Rgb(10, 10, 10), 5}, {Rgb(250, 250, 250), 5}, {Rgb(250, 10, 10), 5}}),
       "#460A0A #FF1111 180 578",
       {3}},
      {Groups({{Rgb(100, 150, 200), 16}}), kBlackOnWhite},
      {Groups({{Rgb(255, 0, 0), 10}, {Rgb(0, 170, 0), 10}}), kBlackOnWhite},  // both 510
      {Picture(6, 4, framed), "#14283C #DCC8B4 220 1220", {1}, {1, 1, 3, 3}},
      // 14 of 20 pixels outside (red -1, a class of their own) become the ink, clamped to 0.
      {Filled(3, 2, a), "#000000 #C86432 0 750", {0, 1, 2, 3}, {-1, -1, 5, 4}},
      // Three classes: the spread moves the ink a quarter of the way from red -1 toward white.
      {Groups({{w, 3}, {Rgb(255, 0, 0), 1}}), "#3F3F3F #FFFFFF 378 1530", {1}, {-6, 0, 10, 1}},
      // The outside class (6) dominates; green, coming first of the two of 3, is the runner-up.
      {Picture(3, 2, {a, a, a, g, g, g}), "#003200 #07FB07 150 774", {1}, {0, -2, 3, 4}},
  };
  for (const Case& c : cases) {
    const Region r = c.region.Width == -1 ? Region{0, 0, c.picture.Width(), 1} : c.region;
    for (const Int16 style : c.styles) EXPECT_EQ(Colors(c.picture, style, r), c.expected) << style;
  }
  // Empty regions and regions wholly outside: black on white.
  for (const Region& r :
       {Region{0, 0, 0, 4}, {0, 0, -3, 4}, {0, 0, 4, -1}, {0, 0, 4, 0}, {10, 10, 3, 3}}) {
    EXPECT_EQ(Colors(Filled(4, 4, g), 1, r), kBlackOnWhite) << r.Left << " " << r.Width;
  }
}

TEST(ColoredCells, HigherAndLowerQuality) {
  const PackedColor teal = Rgb(10, 171, 205), red = Rgb(255, 0, 0), blue = Rgb(0, 0, 255);
  // PixColHiQu keeps the candidate with the closest worst quadrant; GetPixColLoQu gives the mean
  // colour rounded half to even. An empty expectation is not checked.
  struct Case {
    Picture picture;
    const char *high, *low = "";
  };
  const Case cases[] = {
      {Filled(2, 2, teal), "#0AABCD #0AABCD II", "#0AABCD"},
      {Filled(3, 3, teal), "#0AABCD #0AABCD II", "#0AABCD"},
      {Filled(4, 4, teal), "#0AABCD #0AABCD II"},
      {Picture(2, 2, {w, w, k, k}), "#FFFFFF #000000 .."},
      {Picture(2, 2, {k, w, k, w}), "#FFFFFF #000000 I&nbsp;"},
      {Picture(2, 2, {w, k, k, k}), "#FFFFFF #000000 .I"},
      {Picture(2, 2, {w, w, k, w}), "#FFFFFF #000000 .&nbsp;"},
      // The lower-left quadrant is always ink: the colours swap rather than the characters.
      {Picture(2, 2, {k, k, w, k}), "#000000 #FFFFFF .&nbsp;"},
      {Picture(3, 3, {w, w, w, k, k, k, k, k, k}), "#AAAAAA #000000 .."},  // 255 x 6 / 9
      // Reds top left, black elsewhere: a mean red 0.5 rounds to 0 (uniform), 2.5 rounds to 2.
      {Picture(4, 4, {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "#000000 #000000 II"},
      {Picture(4, 4, {2, 2, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "#020000 #000000 .I"},
      // The blank group's red 32 / 3 is truncated to 10.
      {Picture(2, 2, {Rgb(10, 0, 0), Rgb(11, 0, 0), k, Rgb(11, 0, 0)}), "#0A0000 #000000 .&nbsp;"},
      {Picture(2, 2, {red, blue, blue, red}), "", "#800080"},
      {Picture(2, 2, {Rgb(126, 0, 0), Rgb(127, 0, 0), Rgb(126, 0, 0), Rgb(127, 0, 0)}), "",
       "#7E0000"},
      {Picture(3, 3, {k, k, k, k, w, k, k, k, k}), "", "#1C1C1C"},
      {Filled(4, 4, w), "", "#FFFFFF"},
  };
  for (const Case& c : cases) {
    const int size = c.picture.Width();
    EXPECT_EQ(*c.high ? High(c.picture, 0, 0, size) : "", c.high);
    EXPECT_EQ(*c.low ? Low(c.picture, 0, 0, size) : "", c.low);
  }
}

TEST(CellEncoders, CellsLeavingThePictureReadLikeAPaddedPicture) {
  // A cell leaving the picture must read what a picture framed by the outside value holds: -1
  // for B&W, black for colored cells. B&W styles without a checkerboard only, since the frame
  // shifts the cell indices.
  constexpr int kPad = 8;
  const Picture picture = Gradient(5, 4);
  Picture outsideFrame = Filled(5 + 2 * kPad, 4 + 2 * kPad, kOutside);
  Picture blackFrame = Filled(5 + 2 * kPad, 4 + 2 * kPad, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) {
      outsideFrame.Row(y + kPad)[x + kPad] = blackFrame.Row(y + kPad)[x + kPad] = picture.Row(y)[x];
    }
  }
  for (Int16 size = 2; size <= 4; ++size) {
    for (int top = -size; top <= 4; ++top) {
      for (int left = -size; left <= 5; ++left) {
        for (const Int16 style : {kPlain, kPattern}) {
          EXPECT_EQ(BWCell(picture, left, top, style, 0, {}, size),
                    BWCell(outsideFrame, left + kPad, top + kPad, style, 0, {}, size));
        }
        EXPECT_EQ(Low(picture, left, top, size), Low(blackFrame, left + kPad, top + kPad, size));
        EXPECT_EQ(High(picture, left, top, size), High(blackFrame, left + kPad, top + kPad, size));
      }
    }
  }
}

}  // namespace
}  // namespace stipplor
