#include "engine/page_width.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "tests/engine/support.h"

namespace stipplor {
namespace {

using test::Rgb;

std::vector<PackedColor> Pixels(const Picture& picture) {
  std::vector<PackedColor> pixels;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) pixels.push_back(picture.Pixel(x, y));
  }
  return pixels;
}

TEST(PageWidth, SizeGivesHalfTheWidthInCellsAndNeverEnlarges) {
  struct Case {
    int width, height, ratio, pageWidth;
    std::optional<PixelSize> size;
  };
  const Case cases[] = {
      {801, 600, 2, 800, std::nullopt},  // 400 cells: the page is 800 wide already
      {802, 600, 2, 800, PixelSize{800, 599}},    {4000, 3000, 2, 800, PixelSize{800, 600}},
      {4000, 3000, 3, 801, PixelSize{1200, 900}},  // odd: 400 cells, one pixel less
      {1000, 1, 4, 2, PixelSize{4, 1}},            // never less than a row
      {4000, 3000, 2, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageWidthSize(c.width, c.height, c.ratio, c.pageWidth), c.size)
        << c.width << " " << c.ratio << " " << c.pageWidth;
  }
}

TEST(PageWidth, BlocksOfOneColourScaledByAWholeFactorKeepTheirColours) {
  const std::vector<PackedColor> blocks = {Rgb(255, 0, 0), Rgb(1, 2, 3),   Rgb(254, 255, 253),
                                           Rgb(0, 0, 0),   Rgb(7, 128, 9), Rgb(100, 0, 200)};
  Picture picture(12, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 12; ++x)
      picture.Row(y)[x] = blocks[static_cast<std::size_t>(y / 4 * 3 + x / 4)];
  }
  const auto scaled = ScaleForPageWidth(picture, std::nullopt, 1, 6);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(Pixels(*scaled), blocks);
}

TEST(PageWidth, PartsOfPixelsCountByTheirShareAndOutsideIsBlack) {
  const Picture picture(3, 1, {Rgb(0, 0, 0), Rgb(90, 90, 90), Rgb(180, 180, 180)});
  EXPECT_EQ(Pixels(AreaAverage(picture, Region{0, 0, 3, 1}, PixelSize{2, 1})),
            (std::vector<PackedColor>{Rgb(30, 30, 30), Rgb(150, 150, 150)}));
  // Half of the region lies left of the picture.
  EXPECT_EQ(Pixels(AreaAverage(picture, Region{-3, 0, 6, 1}, PixelSize{2, 1})),
            (std::vector<PackedColor>{Rgb(0, 0, 0), Rgb(90, 90, 90)}));
}

}  // namespace
}  // namespace stipplor
