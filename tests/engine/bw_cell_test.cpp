#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/engine/cell_test_support.h"

namespace stipplor {
namespace {

using namespace test;

enum Style : Int16 { kPlain = 0, kPattern = 1, kDotted = 2, kFractal = 3 };

std::string Encode2x2(const Picture& picture, int left, int top, Int16 style, bool smooth = false,
                      BrightnessRange range = {}) {
  return std::string(GetPixBW(picture, static_cast<Int16>(left), static_cast<Int16>(top), 2, 2,
                              style, smooth ? -1 : 0, range));
}

TEST(GetPixBW, UniformGreyCellsAtBothParities) {
  // A 4 x 2 grey picture: the cell at x = 0 has parity 0, the one at x = 2 parity 1; both have
  // Fractal shape 0.
  struct Row {
    std::vector<int> greys;
    const char *plain, *pattern, *dotted0, *dotted1, *fractal0, *fractal1;
  };
  const Row rows[] = {
      {{0, 40}, "II", "II", "II", "II", "II", "II"},
      {{64, 100}, "'I", "I.", "I'", "I.", "I.", "I."},
      {{128, 150}, "'.", "I ", ".'", "'.", "I ", "I "},
      {{192, 200}, ". ", ". ", ". ", "' ", "' ", "' "},
      {{230, 255}, "&nbsp; ", "&nbsp; ", "&nbsp; ", "&nbsp; ", "&nbsp; ", "&nbsp; "},
  };
  for (const Row& row : rows) {
    for (const int g : row.greys) {
      const Picture picture = Filled(4, 2, Grey(g));
      SCOPED_TRACE(g);
      for (const int left : {0, 2}) {
        EXPECT_EQ(Encode2x2(picture, left, 0, kPlain), row.plain);
        EXPECT_EQ(Encode2x2(picture, left, 0, kPattern), row.pattern);
      }
      EXPECT_EQ(Encode2x2(picture, 0, 0, kDotted), row.dotted0);
      EXPECT_EQ(Encode2x2(picture, 2, 0, kDotted), row.dotted1);
      EXPECT_EQ(Encode2x2(picture, 0, 0, kFractal), row.fractal0);
      EXPECT_EQ(Encode2x2(picture, 2, 0, kFractal), row.fractal1);
    }
  }
}

TEST(GetPixBW, WorkedExampleWithAndWithoutSmoothTransition) {
  // Cell at x = 2 (parity 1): grey 200 upper left, 100 upper right, 50 lower left, 150 lower
  // right; level 2 either way.
  const Picture picture(4, 2, {0, 0, Grey(200), Grey(100), 0, 0, Grey(50), Grey(150)});
  for (const bool smooth : {false, true}) {
    EXPECT_EQ(Encode2x2(picture, 2, 0, kPlain, smooth), ".'");
    EXPECT_EQ(Encode2x2(picture, 2, 0, kDotted, smooth), ".'");
    EXPECT_EQ(Encode2x2(picture, 2, 0, kPattern, smooth), "I ");
  }
}

TEST(GetPixBW, FractalFlatAreaFollowsTheHilbertShapes) {
  const Picture picture = Filled(8, 4, Grey(128));
  const std::vector<std::vector<std::string>> expected = {
      {"I ", "I ", "..", "I "},
      {"&nbsp;I", "I ", "I ", "''"},
  };
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 4; ++column) {
      EXPECT_EQ(Encode2x2(picture, 2 * column, 2 * row, kFractal), expected[row][column])
          << column << "," << row;
    }
  }
}

TEST(GetPixBW, SmoothTransitionMakesACheckerboardNearLevelBoundaries) {
  struct Case {
    int grey;
    const char *even, *odd;
  };
  for (const Case c :
       {Case{40, "II", "'I"}, Case{100, "'I", "'."}, Case{150, "'.", ". "},
        Case{200, ". ", "&nbsp; "}, Case{0, "II", "II"}, Case{255, "&nbsp; ", "&nbsp; "}}) {
    const Picture picture = Filled(4, 2, Grey(c.grey));
    EXPECT_EQ(Encode2x2(picture, 0, 0, kPlain, true), c.even) << c.grey;
    EXPECT_EQ(Encode2x2(picture, 2, 0, kPlain, true), c.odd) << c.grey;
  }
}

TEST(GetPixBW, InkGoesToTheDarkestSubCellsInEveryStyle) {
  const PackedColor k = Grey(0);
  const PackedColor w = Grey(255);
  struct Case {
    std::vector<PackedColor> pixels;  // a 4 x 2 picture holding the same cell twice
    const char* fragment;
  };
  for (const Case& c : {Case{{k, w, k, w, w, w, w, w}, "' "}, Case{{k, w, k, w, k, w, k, w}, "I "},
                        Case{{k, k, k, k, k, w, k, w}, "I'"}}) {
    const Picture picture(4, 2, c.pixels);
    for (const Int16 style : {kPlain, kPattern, kDotted, kFractal}) {
      for (const int left : {0, 2}) {
        EXPECT_EQ(Encode2x2(picture, left, 0, style), c.fragment) << style << " at " << left;
      }
    }
  }
}

TEST(GetPixBW, ThreeByThreeCentrePixelWeighsAQuarterOfEachSubCell) {
  const PackedColor k = Grey(0);
  const PackedColor w = Grey(255);
  const Picture darkCentre(3, 3, {w, w, w, w, k, w, w, w, w});
  const Picture brightCentre(3, 3, {k, k, k, k, w, k, k, k, k});
  for (const Int16 style : {kPlain, kPattern, kDotted, kFractal}) {
    EXPECT_EQ(GetPixBW(darkCentre, 0, 0, 3, 3, style, 0, {}), "&nbsp; ");
    EXPECT_EQ(GetPixBW(brightCentre, 0, 0, 3, 3, style, 0, {}), "II");
  }
}

TEST(GetPixBW, PlainStretchesTheBrightnessRange) {
  const BrightnessRange range{300, 900};
  // Beyond the range the stretched brightness is clamped: 40 and 200 are full ink and white.
  for (const auto& [grey, fragment] :
       {std::pair{100, "'."}, std::pair{60, "II"}, std::pair{140, "&nbsp; "}, std::pair{40, "II"},
        std::pair{200, "&nbsp; "}}) {
    EXPECT_EQ(Encode2x2(Filled(2, 2, Grey(grey)), 0, 0, kPlain, false, range), fragment) << grey;
  }
  // The other styles ignore the range.
  EXPECT_EQ(Encode2x2(Filled(2, 2, Grey(60)), 0, 0, kPattern, false, range), "I.");
}

TEST(GetPixBW, TotalOf4920IsTheLightestLevel) {
  const PackedColor light = BrightnessColor(1230);
  const PackedColor lessLight = BrightnessColor(1229);
  // 4 x 1230 = 4920: no ink. 4919: one inked sub-cell; all comparison values are equal (205),
  // so sub-cell 3 takes it.
  EXPECT_EQ(Encode2x2(Filled(2, 2, light), 0, 0, kPlain), "&nbsp; ");
  EXPECT_EQ(Encode2x2(Picture(2, 2, {light, light, light, lessLight}), 0, 0, kPlain), ". ");
  // With the smooth transition a white cell is clamped to 4920 and stays white at both parities,
  // while 4920 itself drops a level on even cells.
  const Picture white = Filled(4, 2, Grey(255));
  EXPECT_EQ(Encode2x2(white, 0, 0, kPlain, true), "&nbsp; ");
  EXPECT_EQ(Encode2x2(white, 2, 0, kPlain, true), "&nbsp; ");
  EXPECT_EQ(Encode2x2(Filled(2, 2, light), 0, 0, kPlain, true), ". ");
}

TEST(GetPixBW, PixelsOutsideThePictureReadAsMinusOne) {
  // A cell half left of the picture: its left sub-cells have red -1, brightness -2 each. With
  // the right sub-cells at 1231 and 1232 the total is 2459, level 1 (three inked sub-cells);
  // were the outside black, the total 2463 would be level 2 ("I ").
  const Picture picture(1, 2, {BrightnessColor(1231), BrightnessColor(1232)});
  EXPECT_EQ(Encode2x2(picture, -1, 0, kPattern), "I.");
  // Wholly outside, in any direction: full ink.
  for (const auto& [left, top] : {std::pair{-2, 0}, std::pair{0, -2}, std::pair{1, 0},
                                  std::pair{0, 2}, std::pair{-40, -40}}) {
    for (const Int16 style : {kPlain, kPattern, kDotted, kFractal}) {
      EXPECT_EQ(Encode2x2(picture, left, top, style, true), "II") << left << "," << top;
    }
  }
}

TEST(GetPixBW, RefusesWhatNoRunPasses) {
  const Picture picture = Filled(8, 8, Grey(0));
  EXPECT_THROW(GetPixBW(picture, 0, 0, 2, 2, 4, 0, {}), std::invalid_argument);
  EXPECT_THROW(GetPixBW(picture, 0, 0, 2, 2, -1, 0, {}), std::invalid_argument);
  EXPECT_THROW(GetPixBW(picture, 0, 0, 2, 2, kPlain, 0, {700, 700}), std::invalid_argument);
}

}  // namespace
}  // namespace stipplor
