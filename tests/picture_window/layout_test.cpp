// The picture window's arithmetic without widgets: scroll layout, selection gestures.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/int16.h"
#include "picture_window/scroll_layout.h"
#include "picture_window/selection_model.h"

namespace stipplor {
namespace {

TEST(ScrollLayoutTest, DecidesBarsViewportAndRanges) {
  struct Case {
    ScrollLayoutInput in;
    bool h, v;
    int viewportWidth, viewportHeight;
    int hMaximum = 0, hPosition = 0, vMaximum = 0, vPosition = 0;
    bool newPicture = false;  // laid out right after the picture was replaced
  };
  // clang-format off
  const Case cases[] = {
      {{.W = 400, .H = 300, .PW = 399, .PH = 299}, false, false, 400, 300},
      {{.W = 400, .H = 300, .PW = 400, .PH = 100}, true, false, 400, 281},
      {{.W = 400, .H = 300, .PW = 100, .PH = 300}, false, true, 381, 300},
      {{.W = 400, .H = 300, .PW = 390, .PH = 400}, true, true, 381, 281, 2, 0, 15, 0},
      {{.W = 400, .H = 300, .PW = 500, .PH = 290}, true, true, 381, 281, 15, 0, 2, 0},
      {{.W = 400, .H = 300, .PW = 380, .PH = 400}, false, true, 381, 300, 0, 0, 13, 0},
      {{.W = 400, .H = 300, .PW = 1000, .PH = 500}, true, true, 381, 281, 78, 0, 28, 0},
      {{.W = 400, .H = 300, .PW = 1000, .PH = 100, .PL = -240}, true, false, 400, 281, 75, 30},
      {{.W = 1400, .H = 300, .PW = 1000, .PH = 100, .PL = -240}, true, false, 1400, 281, 30, 30},
      {{.W = 400, .H = 900, .PW = 100, .PH = 500, .PT = -16}, false, true, 381, 900, 0, 0, 2, 2},
      {{.W = 400, .H = 300, .PW = 33153, .PH = 100}, true, false, 400, 281, 4095, 0},
      {{.W = 400, .H = 300, .PW = 1200, .PH = 500, .PL = -240}, true, true, 381, 281, 103, 30, 28, 0, true},
      {{.W = 400, .H = 300, .PW = 500, .PH = 400, .PL = -600, .PT = -800}, true, true, 381, 281, 15, 15, 15, 15, true},
      {{.W = 400, .H = 300, .PW = 100, .PH = 100, .PL = -240, .PT = -16}, false, false, 400, 300, 0, 0, 0, 0, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.in.W << "x" << c.in.H << " " << c.in.PW << "x" << c.in.PH);
    const auto layout = c.newPicture ? LayOutNewPicture(c.in) : LayOut(c.in);
    ASSERT_TRUE(layout.has_value());
    // The bars stand 18 pixels in from the far edges and leave the corner free when both show.
    EXPECT_EQ(layout->HScroll, (ScrollBarLayout{c.h, c.in.H - 18, c.in.W - (c.v ? 18 : 0),
                                                c.hMaximum, c.hPosition}));
    EXPECT_EQ(layout->VScroll, (ScrollBarLayout{c.v, c.in.W - 18, c.in.H - (c.h ? 18 : 0),
                                                c.vMaximum, c.vPosition}));
    EXPECT_EQ(layout->ViewportWidth, c.viewportWidth);
    EXPECT_EQ(layout->ViewportHeight, c.viewportHeight);
  }
  // Minimised or 0 high: the layout stays as it is. Past 4095 positions: an overflow.
  EXPECT_FALSE(LayOut({.W = 400, .H = 0, .PW = 1000, .PH = 1000}).has_value());
  EXPECT_FALSE(LayOut({.W = 400, .H = 300, .Minimized = true, .PW = 1000}).has_value());
  EXPECT_THROW(LayOut({.W = 400, .H = 300, .PW = 33161, .PH = 100}), OverflowError);
  EXPECT_THROW(LayOut({.W = 400, .H = 300, .PW = 100, .PH = 40000}), OverflowError);
}

TEST(SelectionModelTest, FollowsTheGestures) {
  // p: plain left press, g: any other press, d: drawing step, m: moving step in a 300 x 200
  // picture at the origin, s: the picture scrolled by (x, y).
  struct Step {
    char op;
    int x, y;
  };
  struct Case {
    std::vector<Step> steps;
    std::array<int, 4> corners;
    bool shown;
    int dx = -1, dy = -1;
  };
  const std::vector<Step> drawn = {{'p', 10, 20}, {'d', 60, 40}, {'d', 110, 70}};
  const auto then = [&](std::vector<Step> more) {
    more.insert(more.begin(), drawn.begin(), drawn.end());
    return more;
  };
  const Case cases[] = {
      {drawn, {10, 20, 110, 70}, true},
      {{{'p', 110, 70}, {'d', 60, 45}, {'d', 10, 20}}, {10, 20, 110, 70}, true},
      {then({{'d', 10, 50}}), {10, 20, 110, 70}, false},
      {then({{'d', 60, 20}}), {10, 20, 110, 70}, false},
      {then({{'g', 30, 30}, {'p', 7, 8}}), {7, 8, 110, 70}, false},
      {then({{'g', 30, 30}}), {10, 20, 110, 70}, true, 20, 10},
      {then({{'g', 10, 20}}), {10, 20, 110, 70}, true, 0, 0},
      {then({{'g', 110, 70}}), {10, 20, 110, 70}, true, 100, 50},
      {then({{'g', 111, 70}}), {10, 20, 110, 70}, true},
      {then({{'g', 10, 19}}), {10, 20, 110, 70}, true},
      {then({{'g', 30, 30}, {'m', 290, 60}}), {200, 50, 300, 100}, true, 90, 10},
      {then({{'g', 30, 30}, {'m', 290, 60}, {'m', 280, 60}}), {190, 50, 290, 100}, true, 90, 10},
      {then({{'g', 30, 30}, {'m', -50, -50}}), {0, 0, 100, 50}, true, -50, -50},
      {then({{'g', 200, 150}, {'m', 150, 100}}), {151, 101, 251, 151}, true},
      {then({{'g', 30, 30}, {'m', 80, 60}, {'d', 200, 150}}), {60, 50, 200, 150}, true, 20, 10},
      {{{'p', -50, 20}, {'d', 350, 70}, {'g', 0, 30}, {'m', 10, 30}},
       {-100, 20, 300, 70},
       true,
       110,
       10},
      {then({{'s', -8, -16}}), {2, 4, 102, 54}, true},
      {{{'p', 10, 20}, {'s', -8, -16}, {'d', 100, 100}}, {2, 4, 100, 100}, true},
  };
  for (const Case& c : cases) {
    SelectionModel s;
    std::string trace;
    for (const auto& [op, x, y] : c.steps) {
      trace += std::string(1, op) + "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
      if (op == 'p' || op == 'g') s.Press(op == 'p', x, y);
      if (op == 'd') {
        EXPECT_EQ(s.DrawTo(x, y), s.Shown);
      }
      if (op == 'm') s.MoveTo(x, y, 0, 0, 300, 200);
      if (op == 's') {
        s.ScrollX(0, x);
        s.ScrollY(0, y);
      }
    }
    SCOPED_TRACE(trace);
    EXPECT_EQ((std::array{s.SelX0, s.SelY0, s.SelX1, s.SelY1}), c.corners);
    EXPECT_EQ(s.Shown, c.shown);
    EXPECT_EQ(s.MoveDX, c.dx);
    EXPECT_EQ(s.MoveDY, c.dy);
  }
}

}  // namespace
}  // namespace stipplor
