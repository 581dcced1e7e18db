// The picture window's layout arithmetic: bars, viewport, ranges and positions.

#include "picture_window/scroll_layout.h"

#include <gtest/gtest.h>

#include "engine/int16.h"

namespace stipplor {
namespace {

struct LayoutCase {
  const char* name;
  ScrollLayoutInput in;
  bool h, v;
  int viewportWidth, viewportHeight;
  int hMaximum = 0, hPosition = 0, vMaximum = 0, vPosition = 0;
  bool newPicture = false;  // laid out right after the picture was replaced
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class ScrollLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ScrollLayoutTest, DecidesBarsViewportAndRanges) {
  const LayoutCase& c = GetParam();
  const auto layout = c.newPicture ? LayOutNewPicture(c.in) : LayOut(c.in);
  ASSERT_TRUE(layout.has_value());
  EXPECT_EQ(layout->HScroll.Shown, c.h);
  EXPECT_EQ(layout->VScroll.Shown, c.v);
  EXPECT_EQ(layout->ViewportWidth, c.viewportWidth);
  EXPECT_EQ(layout->ViewportHeight, c.viewportHeight);
  // The bars stand 18 pixels in from the far edges and leave the corner free when both show.
  EXPECT_EQ(layout->HScroll.Edge, c.in.H - 18);
  EXPECT_EQ(layout->HScroll.Length, c.v ? c.in.W - 18 : c.in.W);
  EXPECT_EQ(layout->VScroll.Edge, c.in.W - 18);
  EXPECT_EQ(layout->VScroll.Length, c.h ? c.in.H - 18 : c.in.H);
  // A hidden bar stands at 0.
  EXPECT_EQ(layout->HScroll.Maximum, c.hMaximum);
  EXPECT_EQ(layout->HScroll.Position, c.hPosition);
  EXPECT_EQ(layout->VScroll.Maximum, c.vMaximum);
  EXPECT_EQ(layout->VScroll.Position, c.vPosition);
}

// Each row: input; bars h, v; viewport width, height; h maximum, position; v maximum, position.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollLayoutTest,
    ::testing::Values(
        LayoutCase{"SmallPictureNoBars", {.W = 400, .H = 300, .PW = 100, .PH = 100}, false, false, 400, 300},
        LayoutCase{"WithinTheMarginNoBars", {.W = 400, .H = 300, .PW = 399, .PH = 299}, false, false, 400, 300},
        LayoutCase{"ExactlyAsWideShowsTheHorizontalBar", {.W = 400, .H = 300, .PW = 400, .PH = 100}, true, false, 400, 281, 0, 0},
        LayoutCase{"ExactlyAsHighShowsTheVerticalBar", {.W = 400, .H = 300, .PW = 100, .PH = 300}, false, true, 381, 300, 0, 0, 0, 0},
        LayoutCase{"VerticalBarBringsTheHorizontalOne", {.W = 400, .H = 300, .PW = 390, .PH = 400}, true, true, 381, 281, 2, 0, 15, 0},
        LayoutCase{"HorizontalBarBringsTheVerticalOne", {.W = 400, .H = 300, .PW = 500, .PH = 290}, true, true, 381, 281, 15, 0, 2, 0},
        LayoutCase{"JustOutsideTheMarginOneBar", {.W = 400, .H = 300, .PW = 380, .PH = 400}, false, true, 381, 300, 0, 0, 13, 0},
        LayoutCase{"WidePictureRangeRoundsUp", {.W = 400, .H = 300, .PW = 1000, .PH = 100}, true, false, 400, 281, 75, 0},
        LayoutCase{"WidePictureWithBothBars", {.W = 400, .H = 300, .PW = 1000, .PH = 500}, true, true, 381, 281, 78, 0, 28, 0},
        LayoutCase{"ScrolledPictureKeepsItsPosition", {.W = 400, .H = 300, .PW = 1000, .PH = 100, .PL = -240}, true, false, 400, 281, 75, 30},
        LayoutCase{"EnlargedPastAScrolledPicture", {.W = 1400, .H = 300, .PW = 1000, .PH = 100, .PL = -240}, true, false, 1400, 281, 30, 30},
        LayoutCase{"AScrolledPictureKeepsItsVerticalBar", {.W = 400, .H = 900, .PW = 100, .PH = 500, .PT = -16}, false, true, 381, 900, 0, 0, 2, 2},
        LayoutCase{"RangeAtThe16BitLimit", {.W = 400, .H = 300, .PW = 33153, .PH = 100}, true, false, 400, 281, 4095, 0},
        LayoutCase{"NewPictureKeepsAPositionWithinItsRange", {.W = 400, .H = 300, .PW = 1200, .PH = 500, .PL = -240}, true, true, 381, 281, 103, 30, 28, 0, true},
        LayoutCase{"NewPictureBringsPositionsBackIntoItsRanges", {.W = 400, .H = 300, .PW = 500, .PH = 400, .PL = -600, .PT = -800}, true, true, 381, 281, 15, 15, 15, 15, true},
        LayoutCase{"NewPictureThatFitsStandsAtTheOrigin", {.W = 400, .H = 300, .PW = 100, .PH = 100, .PL = -240, .PT = -16}, false, false, 400, 300, 0, 0, 0, 0, true}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(ScrollLayoutEdgeTest, MinimisedOrZeroHighLeavesTheLayout) {
  EXPECT_FALSE(LayOut({.W = 400, .H = 0, .PW = 1000, .PH = 1000}).has_value());
  EXPECT_FALSE(LayOut({.W = 400, .H = 300, .Minimized = true, .PW = 1000}).has_value());
  EXPECT_TRUE(LayOut({.W = 0, .H = 300, .PW = 1000}).has_value());
}

TEST(ScrollLayoutEdgeTest, ARangeBeyondSixteenBitOffsetsIsAnOverflow) {
  EXPECT_THROW(LayOut({.W = 400, .H = 300, .PW = 33161, .PH = 100}), OverflowError);
  EXPECT_THROW(LayOut({.W = 400, .H = 300, .PW = 100, .PH = 40000}), OverflowError);
}

}  // namespace
}  // namespace stipplor
