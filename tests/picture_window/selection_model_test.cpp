// The selection's gestures without widgets, in viewport coordinates.

#include "picture_window/selection_model.h"

#include <gtest/gtest.h>

#include <tuple>

namespace stipplor {
namespace {

using Corners = std::tuple<int, int, int, int>;
Corners CornersOf(const SelectionModel& s) { return {s.SelX0, s.SelY0, s.SelX1, s.SelY1}; }

SelectionModel Drawn(int x0, int y0, int x1, int y1) {
  SelectionModel s;
  s.Press(true, x0, y0);
  EXPECT_TRUE(s.DrawTo(x1, y1));
  return s;
}

TEST(SelectionModelTest, StartsEmptyWithNoMoveOffset) {
  const SelectionModel s;
  EXPECT_EQ(CornersOf(s), Corners(0, 0, 0, 0));
  EXPECT_EQ(s.MoveDX, -1);
  EXPECT_EQ(s.MoveDY, -1);
  EXPECT_FALSE(s.Shown);
}

TEST(SelectionModelTest, APlainLeftPressSetsTheAnchorAndRemovesTheSelection) {
  SelectionModel s = Drawn(10, 20, 110, 70);
  s.Press(false, 30, 30);
  s.Press(true, 7, 8);
  EXPECT_FALSE(s.Shown);
  EXPECT_EQ(s.AnchorX, 7);
  EXPECT_EQ(s.AnchorY, 8);
  EXPECT_EQ(s.SelX0, 7);
  EXPECT_EQ(s.SelY0, 8);
  EXPECT_EQ(s.MoveDX, -1);
  EXPECT_EQ(s.MoveDY, -1);
}

TEST(SelectionModelTest, DrawingOrdersTheCornersEitherWay) {
  EXPECT_EQ(CornersOf(Drawn(10, 20, 110, 70)), Corners(10, 20, 110, 70));
  EXPECT_EQ(CornersOf(Drawn(110, 70, 10, 20)), Corners(10, 20, 110, 70));
  EXPECT_EQ(CornersOf(Drawn(110, 20, 10, 70)), Corners(10, 20, 110, 70));
}

TEST(SelectionModelTest, TheAnchorsRowOrColumnHidesTheSelection) {
  SelectionModel s = Drawn(10, 20, 110, 70);
  EXPECT_FALSE(s.DrawTo(10, 50));
  EXPECT_FALSE(s.Shown);
  EXPECT_EQ(CornersOf(s), Corners(10, 20, 110, 70));
  EXPECT_FALSE(s.DrawTo(50, 20));
  EXPECT_TRUE(s.DrawTo(60, 50));
  EXPECT_EQ(CornersOf(s), Corners(10, 20, 60, 50));
}

TEST(SelectionModelTest, AMovePressGrabsInsideTheStoredCornersEdgesIncluded) {
  const struct {
    int x, y, dx, dy;
  } cases[] = {
      {30, 30, 20, 10}, {10, 20, 0, 0}, {110, 70, 100, 50}, {111, 70, -1, -1}, {10, 19, -1, -1}};
  for (const auto& c : cases) {
    SelectionModel s = Drawn(10, 20, 110, 70);
    s.Press(false, c.x, c.y);
    EXPECT_EQ(s.MoveDX, c.dx) << c.x << "," << c.y;
    EXPECT_EQ(s.MoveDY, c.dy) << c.x << "," << c.y;
  }
}

// Picture 300 x 200 at viewport offset (L, T) = (0, 0) unless a case says otherwise.
TEST(SelectionModelTest, MovingKeepsTheSizeAndTheGrabbedPoint) {
  SelectionModel s = Drawn(10, 20, 110, 70);
  s.Press(false, 30, 30);
  s.MoveTo(80, 60, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(60, 50, 160, 100));
  EXPECT_EQ(s.AnchorX, 60);
  EXPECT_EQ(s.AnchorY, 50);
  EXPECT_TRUE(s.Shown);
}

TEST(SelectionModelTest, MovingStopsAtTheEdgesAndTheOffsetFollows) {
  SelectionModel s = Drawn(10, 20, 110, 70);
  s.Press(false, 30, 30);
  s.MoveTo(290, 60, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(200, 50, 300, 100));
  EXPECT_EQ(s.MoveDX, 90);
  s.MoveTo(280, 60, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(190, 50, 290, 100));
  s.MoveTo(-50, -50, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(0, 0, 100, 50));
  EXPECT_EQ(s.MoveDX, -50);
  EXPECT_EQ(s.MoveDY, -50);
}

TEST(SelectionModelTest, MovingHoldsTheSelectionInsideAScrolledPicture) {
  // Picture 1000 wide scrolled by 240: it spans viewport x -240 .. 760.
  SelectionModel s = Drawn(100, 20, 200, 70);
  s.Press(false, 150, 30);
  s.MoveTo(900, 30, -240, 0, 1000, 200);
  EXPECT_EQ(CornersOf(s), Corners(660, 20, 760, 70));
  s.MoveTo(-500, 30, -240, 0, 1000, 200);
  EXPECT_EQ(CornersOf(s), Corners(-240, 20, -140, 70));
}

TEST(SelectionModelTest, ASelectionWiderThanThePictureEndsFlushRight) {
  SelectionModel s = Drawn(-50, 20, 350, 70);
  s.Press(false, 0, 30);
  s.MoveTo(10, 30, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(-100, 20, 300, 70));
}

TEST(SelectionModelTest, WithoutAGrabTheCornerGoesOnePixelPastThePointer) {
  SelectionModel s = Drawn(10, 20, 110, 70);
  s.Press(false, 200, 150);
  s.MoveTo(150, 100, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(151, 101, 251, 151));
  s.MoveTo(160, 110, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(161, 111, 261, 161));
}

TEST(SelectionModelTest, ScrollingShiftsCornersAndAnchor) {
  SelectionModel s = Drawn(50, 60, 150, 120);
  s.ScrollX(0, -40);
  s.ScrollY(0, -16);
  EXPECT_EQ(CornersOf(s), Corners(10, 44, 110, 104));
  EXPECT_EQ(s.AnchorX, 10);
  EXPECT_EQ(s.AnchorY, 44);
  EXPECT_EQ(s.Rect(-40, -16), (Region{50, 60, 100, 60}));
}

}  // namespace
}  // namespace stipplor
