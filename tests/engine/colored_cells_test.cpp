#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/cell_test_support.h"

namespace stipplor {
namespace {

using namespace test;

const PackedColor k = Rgb(0, 0, 0);
const PackedColor w = Rgb(255, 255, 255);
const PackedColor kTeal = Rgb(10, 171, 205);

// A 4 x 4 black cell whose top-left 2 x 2 block has the given red values.
Picture RedCorner(int a, int b, int c, int d) {
  return Square(4, {Rgb(a, 0, 0), Rgb(b, 0, 0), k, k, Rgb(c, 0, 0), Rgb(d, 0, 0), k, k, k, k, k, k,
                    k, k, k, k});
}

TEST(PixColHiQu, KeepsTheCandidateWithTheClosestWorstQuadrant) {
  const std::vector<std::pair<Picture, const char*>> cases = {
      {Filled(2, 2, kTeal), "#0AABCD #0AABCD II"},
      {Filled(3, 3, kTeal), "#0AABCD #0AABCD II"},
      {Filled(4, 4, kTeal), "#0AABCD #0AABCD II"},
      {Square(2, {w, w, k, k}), "#FFFFFF #000000 .."},
      {Square(2, {k, w, k, w}), "#FFFFFF #000000 I&nbsp;"},
      {Square(2, {w, k, k, k}), "#FFFFFF #000000 .I"},
      {Square(2, {w, w, k, w}), "#FFFFFF #000000 .&nbsp;"},
      // The lower-left quadrant is always ink, so the colours swap rather than the characters.
      {Square(2, {k, k, w, k}), "#000000 #FFFFFF .&nbsp;"},
      // Upper quadrants: 255 x 6 / 9 = 170.
      {Square(3, {w, w, w, k, k, k, k, k, k}), "#AAAAAA #000000 .."},
      // Quadrant 1 red 0.5 rounds to 0 (a uniform cell); 2.5 rounds to 2.
      {RedCorner(0, 0, 1, 1), "#000000 #000000 II"},
      {RedCorner(2, 2, 3, 3), "#020000 #000000 .I"},
      // The blank group's red 32 / 3 is truncated to 10.
      {Square(2, {Rgb(10, 0, 0), Rgb(11, 0, 0), k, Rgb(11, 0, 0)}), "#0A0000 #000000 .&nbsp;"},
  };
  for (const auto& [picture, expected] : cases) {
    EXPECT_EQ(High(picture, 0, 0, picture.Width()), expected);
  }
}

TEST(GetPixColLoQu, MeanColourRoundedHalfToEven) {
  const PackedColor red = Rgb(255, 0, 0);
  const PackedColor blue = Rgb(0, 0, 255);
  const std::vector<std::pair<Picture, const char*>> cases = {
      {Filled(2, 2, kTeal), "#0AABCD"},
      {Filled(3, 3, kTeal), "#0AABCD"},
      {Square(2, {red, blue, blue, red}), "#800080"},
      {Square(2, {Rgb(126, 0, 0), Rgb(127, 0, 0), Rgb(126, 0, 0), Rgb(127, 0, 0)}), "#7E0000"},
      {Square(3, {k, k, k, k, w, k, k, k, k}), "#1C1C1C"},
      {Filled(4, 4, w), "#FFFFFF"},
  };
  for (const auto& [picture, expected] : cases) {
    EXPECT_EQ(Low(picture, 0, 0, picture.Width()), expected);
  }
}

TEST(ColoredCells, PixelsOutsideThePictureCountAsBlack) {
  // Half of the cell is left of a white picture.
  const Picture white = Filled(1, 2, w);
  EXPECT_EQ(Low(white, -1, 0, 2), "#808080");
  EXPECT_EQ(High(white, -1, 0, 2), "#FFFFFF #000000 I&nbsp;");
  for (const auto& [left, top] : {std::pair{-2, 0}, std::pair{1, 1}, std::pair{-30, -30}}) {
    EXPECT_EQ(Low(white, left, top, 2), "#000000");
    EXPECT_EQ(High(white, left, top, 2), "#000000 #000000 II");
  }
}

}  // namespace
}  // namespace stipplor
