#include <gtest/gtest.h>

#include <array>

#include "engine/cells.h"

namespace stipplor {
namespace {

TEST(GetHilbertShape, EvenAndOddSquaresTurnTheirQuadrants) {
  constexpr std::array<std::array<int, 4>, 4> kEven4 = {{
      {0, 1, 3, 0},
      {2, 1, 3, 2},
      {1, 3, 1, 3},
      {0, 0, 0, 0},
  }};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(GetHilbertShapeEven(x, y, 4, 0), kEven4[y][x]) << x << "," << y;
  }
  constexpr std::array<std::array<int, 2>, 2> kOdd2 = {{{0, 1}, {2, 1}}};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(GetHilbertShapeOdd(x, y, 2, 0), kOdd2[y][x]) << x << "," << y;
  }
  EXPECT_EQ(GetHilbertShapeEven(0, 0, 1, 5), 1);
}

TEST(GetHilbertShape, ShapesOfTheFirstCells) {
  constexpr std::array<std::array<int, 8>, 8> kShapes = {{
      {0, 0, 3, 0, 0, 2, 0, 1},
      {2, 0, 0, 1, 2, 3, 3, 3},
      {0, 0, 0, 1, 0, 0, 3, 2},
      {0, 2, 3, 0, 1, 0, 3, 1},
      {2, 1, 0, 1, 0, 1, 2, 3},
      {0, 0, 0, 0, 2, 1, 2, 2},
      {0, 0, 1, 3, 1, 1, 0, 1},
      {1, 0, 0, 1, 0, 1, 2, 1},
  }};
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      EXPECT_EQ(GetHilbertShape(column, row), kShapes[row][column]) << column << "," << row;
    }
  }
  struct Case {
    int column, row, shape;
  };
  for (const Case c :
       {Case{3, 5, 0}, Case{10, 0, 0}, Case{0, 10, 3}, Case{100, 37, 3}, Case{37, 100, 3},
        Case{255, 255, 0}, Case{1000, 2000, 2}, Case{3276, 3276, 0}}) {
    EXPECT_EQ(GetHilbertShape(c.column, c.row), c.shape) << c.column << "," << c.row;
  }
  // (0, 1) is the point (1, 4) of a square of edge 16.
  EXPECT_EQ(GetHilbertShape(0, 1), GetHilbertShapeEven(1, 4, 16, 0));
}

TEST(GetHilbertShape, TwoLevelTableAgreesWithTheRecursion) {
  // Embedding the grid in a larger square only adds upper-left steps, which turn nothing; so the
  // shape of every 16-bit index, also beyond the reach of a 16-bit grid, is the shape of its
  // point in a square of edge 4^10 as the recursion finds it.
  const auto recursive = [](int column, int row) {
    return GetHilbertShapeEven(4 * column + row, 4 * row + column, 1 << 20, 0);
  };
  for (int row = 0; row < 1024; ++row) {
    for (int column = 0; column < 1024; ++column) {
      ASSERT_EQ(GetHilbertShape(column, row), recursive(column, row)) << column << "," << row;
    }
  }
  for (int row = 0; row <= 32767; row += 97) {
    for (int column = 32767; column >= 0; column -= 89) {
      ASSERT_EQ(GetHilbertShape(column, row), recursive(column, row)) << column << "," << row;
    }
  }
  EXPECT_EQ(GetHilbertShape(32767, 32767), recursive(32767, 32767));
}

TEST(GetHilbertShape, NegativeIndicesEndWithAShape) {
  // Cells left of or above the picture: the same arithmetic, ending in a value 0..3. With both
  // grid coordinates negative there is no square to descend into.
  EXPECT_EQ(GetHilbertShape(-1, -1), 0);
  struct Case {
    int column, row;
  };
  for (const Case c : {Case{-1, 0}, Case{0, -1}, Case{-5, 3}, Case{3, -5}, Case{-32768, 32767},
                       Case{32767, -32768}, Case{-32768, -32768}}) {
    const int shape = GetHilbertShape(c.column, c.row);
    EXPECT_GE(shape, 0);
    EXPECT_LE(shape, 3);
  }
}

}  // namespace
}  // namespace stipplor
