// The arithmetic under the cells: colours, rounding, Hilbert shapes, the colored candidates.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string_view>
#include <tuple>
#include <utility>

#include "engine/colored_candidates.h"
#include "engine/rounding.h"
#include "tests/engine/support.h"

namespace stipplor {
namespace {

// Every sum a cell of Width x Height pixels can give (weighted quadrant sums reach 4 x 255 x 16;
// pixels outside the picture make them negative), divided first by the width, then by the
// height in double and rounded half to even. The divisor 6 also serves the B&W comparison values.
template <int Width, int Height>
void ExpectSameMeansAsDoubleDivision() {
  for (int sum = -20000; sum <= 20000; ++sum) {
    ASSERT_EQ(RoundHalfEven<Width * Height>(sum),
              std::nearbyint(static_cast<double>(sum) / Width / Height))
        << sum << " / " << Width << " / " << Height;
  }
}

TEST(RoundHalfEven, MatchesDoubleDivisionForEveryCellSum) {
  [&]<int... I>(std::integer_sequence<int, I...>) {
    (ExpectSameMeansAsDoubleDivision<I / 4 + 1, I % 4 + 1>(), ...);
  }
  (std::make_integer_sequence<int, 16>{});
}

TEST(GetHilbertShape, ShapesOfCells) {
  // Row by row, the shapes of the cells of the first 8 x 8.
  const std::string_view kShapes[8] = {"00300201", "20012333", "00010032", "02301031",
                                       "21010123", "00002122", "00131101", "10010121"};
  for (int row = 0; row < 8; ++row) {
    for (int column = 0; column < 8; ++column) {
      EXPECT_EQ(GetHilbertShape(column, row), kShapes[row][column] - '0') << column << "," << row;
    }
  }
  // Far cells, and cells left of or above the picture (the same arithmetic).
  const std::tuple<int, int, int> far[] = {
      {10, 0, 0},      {0, 10, 3},         {100, 37, 3},      {37, 100, 3}, {255, 255, 0},
      {1000, 2000, 2}, {3276, 3276, 0},    {-1, -1, 0},       {-5, 3, 2},   {3, -5, 1},
      {-100, 50, 2},   {-32768, 32767, 1}, {32767, -32768, 3}};
  for (const auto& [column, row, shape] : far) {
    EXPECT_EQ(GetHilbertShape(column, row), shape) << column << "," << row;
  }
  // Over the whole 16-bit range the table agrees with the recursion in a square of edge 4^10.
  for (int row = 0; row <= 32767; row += 97) {
    for (int column = 32767; column >= 0; column -= 89) {
      ASSERT_EQ(GetHilbertShape(column, row),
                GetHilbertShapeEven(4 * column + row, 4 * row + column, 1 << 20, 0));
    }
  }
}

void ExpectSameChoice(const QuadrantColors& q) {
  const Candidate plain = BestCandidatePlain(q), fast = BestCandidate(q);
  ASSERT_TRUE(fast.k == plain.k && fast.ink == plain.ink && fast.blank == plain.blank)
      << "quadrant reds " << q[0].red << " " << q[1].red << " " << q[2].red << " " << q[3].red;
}

// The side-by-side search agrees with the plain one; channels beyond the byte range take the
// plain one.
TEST(BestCandidate, AgreesWithThePlainSearch) {
  std::mt19937 random(20240611);
  // Few distinct values make ties and exact divisions; the full range tests the reciprocals.
  for (const int top : {1, 3, 255}) {
    std::uniform_int_distribution<int> channel(0, top);
    for (int n = 0; n < 20000; ++n) {
      QuadrantColors quadrants;
      for (RgbValues& q : quadrants) q = {channel(random), channel(random), channel(random)};
      ExpectSameChoice(quadrants);
    }
  }
  ExpectSameChoice({RgbValues{-1, 0, 0}, {255, 255, 255}, {-1, 0, 0}, {300, 0, 0}});
}

}  // namespace
}  // namespace stipplor
