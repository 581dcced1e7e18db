#include "engine/page_width.h"

#include <gtest/gtest.h>

namespace stipplor {
namespace {

TEST(PageWidth, SizeGivesHalfTheWidthInCellsAndNeverEnlarges) {
  struct Case {
    int width, height, ratio, pageWidth;
    std::optional<PixelSize> size;
  };
  const Case cases[] = {
      {801, 600, 2, 800, std::nullopt},  // 400 cells: the page is 800 wide already
      {802, 600, 2, 800, PixelSize{800, 599}},    {4000, 3000, 2, 800, PixelSize{800, 600}},
      {4000, 3000, 3, 801, PixelSize{1200, 900}},  // odd: 400 cells, one pixel less
      {4000, 1000, 2, 2, PixelSize{2, 2}},         // never less than a cell's height
      {1000, 1, 4, 2, PixelSize{4, 1}},            // nor enlarged to one
      {4000, 3000, 2, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageWidthSize(c.width, c.height, c.ratio, c.pageWidth), c.size)
        << c.width << " " << c.ratio << " " << c.pageWidth;
  }
}

}  // namespace
}  // namespace stipplor
