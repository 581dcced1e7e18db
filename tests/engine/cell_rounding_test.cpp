#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "engine/rounding.h"

namespace stipplor {
namespace {

// Every sum a cell of Width x Height pixels can give (weighted quadrant sums reach
// 4 x 255 x 16; pixels outside the picture make them negative), divided first by the width,
// then by the height in double and rounded half to even under the default rounding mode.
template <int Width, int Height>
void ExpectSameMeansAsDoubleDivision() {
  for (int sum = -20000; sum <= 20000; ++sum) {
    const double mean = static_cast<double>(sum) / Width / Height;
    ASSERT_EQ(RoundHalfEven<Width * Height>(sum), std::nearbyint(mean))
        << sum << " / " << Width << " / " << Height;
  }
}

TEST(RoundHalfEven, MatchesDoubleDivisionForEveryCellSum) {
  [&]<int... I>(std::integer_sequence<int, I...>) {
    (ExpectSameMeansAsDoubleDivision<I / 4 + 1, I % 4 + 1>(), ...);
  }
  (std::make_integer_sequence<int, 16>{});
  // Comparison values of the B&W encoder: brightness / 6.
  for (int brightness = -20000; brightness <= 20000; ++brightness) {
    ASSERT_EQ(RoundHalfEven<6>(brightness), std::nearbyint(brightness / 6.0)) << brightness;
  }
}

}  // namespace
}  // namespace stipplor
