// The selection's gestures without widgets, in viewport coordinates: the cases the mouse tests
// of the picture window do not reach.

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

TEST(SelectionModelTest, ASelectionWiderThanThePictureEndsFlushRight) {
  SelectionModel s = Drawn(-50, 20, 350, 70);
  s.Press(false, 0, 30);
  s.MoveTo(10, 30, 0, 0, 300, 200);
  EXPECT_EQ(CornersOf(s), Corners(-100, 20, 300, 70));
}

}  // namespace
}  // namespace stipplor
