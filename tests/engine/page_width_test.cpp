#include "engine/page_width.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "engine/page_budget.h"
#include "tests/engine/support.h"

namespace stipplor {
namespace {

TEST(PageWidth, SizeGivesHalfTheWidthInCellsAndNeverEnlarges) {
  // The picture's width and height, the ratio, the page width, and the size scaled to.
  const std::tuple<int, int, int, int, std::optional<PixelSize>> cases[] = {
      {801, 600, 2, 800, std::nullopt},  // 400 cells: the page is 800 wide already
      {802, 600, 2, 800, PixelSize{800, 599}},    {4000, 3000, 2, 800, PixelSize{800, 600}},
      {4000, 3000, 3, 801, PixelSize{1200, 900}},  // odd: 400 cells, one pixel less
      {4000, 1000, 2, 2, PixelSize{2, 2}},         // never less than a cell's height
      {1000, 1, 4, 2, PixelSize{4, 1}},            // nor enlarged to one
      {4000, 3000, 2, 0, std::nullopt},
  };
  for (const auto& [width, height, ratio, pageWidth, size] : cases) {
    EXPECT_EQ(PageWidthSize(width, height, ratio, pageWidth), size)
        << width << " " << ratio << " " << pageWidth;
  }
}

// Sizes by page width that grow as the cells, once smoothly and once with wider pages now and
// then smaller than narrower ones: the width found fits, the next does not, every width measured
// above it was too large, and a few pages were measured, each a run over the picture.
TEST(PageBudget, FindsAWidthThatFitsWhoseNextDoesNot) {
  const std::pair<std::function<long long(int)>, std::size_t> sizes[] = {
      {[](int w) { return 200 + 3LL * w * w; }, 6},
      {[](int w) { return 200 + 3LL * w * w - (w % 14 == 0 ? 40LL * w : 0); }, 8},
  };
  for (const auto& [size, most] : sizes) {
    const auto measure = [&](int w, long long limit) {
      return size(w) > limit ? limit + 1 : size(w);
    };
    for (const long long budget : {212LL, 1'000LL, 30'000LL, 30'200LL, 751'700LL, 1'000'000LL}) {
      std::vector<int> measured;
      const int width = FitPageWidth(501, budget, [&](int w, long long limit) {
        measured.push_back(w);
        EXPECT_TRUE(w >= 2 && w <= 500 && w % 2 == 0) << w;
        return measure(w, limit);
      });
      EXPECT_LE(size(width), budget);
      EXPECT_TRUE(width == 500 || size(width + 2) > budget) << budget;
      for (const int w : measured) EXPECT_TRUE(w <= width || size(w) > budget) << w;
      EXPECT_LE(measured.size(), most) << budget;
    }
    // The narrowest page is counted whole, to name its size.
    EXPECT_EQ(test::ThrownWhat<PageBudgetError>([&] { FitPageWidth(10, 100, measure); }),
              "even the narrowest page, 2 pixels wide, takes 212 bytes, more than the 100 allowed");
  }
}

}  // namespace
}  // namespace stipplor
