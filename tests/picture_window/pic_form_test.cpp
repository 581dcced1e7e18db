// The picture window: the layout and selection arithmetic as tables, then their wiring to the
// bars, real mouse gestures and the status texts.

#include "picture_window/pic_form.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>
#include <array>

#include "engine/int16.h"
#include "picture_window/scroll_layout.h"
#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
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
    SCOPED_TRACE(&c - cases);
    const auto layout = c.newPicture ? LayOutNewPicture(c.in) : LayOut(c.in);
    ASSERT_TRUE(layout.has_value());
    // The bars stand 18 pixels in from the far edges and leave the corner free when both show.
    EXPECT_EQ(layout->HScroll, (ScrollBarLayout{c.h, c.in.H - 18, c.in.W - (c.v ? 18 : 0),
                                                c.hMaximum, c.hPosition}));
    EXPECT_EQ(layout->VScroll, (ScrollBarLayout{c.v, c.in.W - 18, c.in.H - (c.h ? 18 : 0),
                                                c.vMaximum, c.vPosition}));
    EXPECT_EQ(std::pair(layout->ViewportWidth, layout->ViewportHeight),
              std::pair(c.viewportWidth, c.viewportHeight));
  }
  // Minimised or 0 high: the layout stays as it is. Past 4095 positions: an overflow.
  EXPECT_FALSE(LayOut({.W = 400, .H = 0, .PW = 1000, .PH = 1000}).has_value());
  EXPECT_FALSE(LayOut({.W = 400, .H = 300, .Minimized = true, .PW = 1000}).has_value());
  EXPECT_THROW(LayOut({.W = 400, .H = 300, .PW = 33161, .PH = 100}), OverflowError);
  EXPECT_THROW(LayOut({.W = 400, .H = 300, .PW = 100, .PH = 40000}), OverflowError);
}

TEST(ScrollLayoutTest, ZoomArithmetic) {
  EXPECT_EQ(PanelLength(1001, 0.5), 501);
  // clang-format off
  // Fit to Window: whole 1/1024ths, at most 100 %, and no bar at that zoom.
  for (const auto& [W, H, PW, PH, zoom] : {std::tuple{800, 300, 4000, 3000, 102 / 1024.}, {400, 300, 400, 10, 1021 / 1024.}, {400, 300, 399, 10, 1.0}, {4000, 300, 10, 1024, 299 / 1024.}}) {
    EXPECT_EQ(FitZoom(W, H, PW, PH), zoom);
    const auto layout = LayOut({.W = W, .H = H, .PW = PanelLength(PW, zoom), .PH = PanelLength(PH, zoom)});
    EXPECT_FALSE(layout->HScroll.Shown || layout->VScroll.Shown);
  }
  // Ctrl+wheel steps through the levels, from a fitted zoom too.
  for (const auto& [from, steps, to] : {std::tuple{1.0, 1, 2.0}, {2.0, 1, 2.0}, {0.37, 1, 0.5}, {0.37, -1, 0.25}, {1.0, -3, 0.25}}) {
    EXPECT_EQ(NextZoom(from, steps), to);
  }
  // The point under the pointer stays, to the nearest scroll position.
  for (const auto& [offset, at, from, to, zoomed] : {std::tuple{0, 200, 1.0, 2.0, -200}, {-200, 200, 2.0, 1.0, 0}, {-800, 100, 1.0, 0.25, -128}, {0, 100, 2.0, 1.0, 0}}) {
    EXPECT_EQ(ZoomedOffset(offset, at, from, to), zoomed);
  }
  // A drag held at an edge of a viewport 400 long, or beyond it.
  for (const auto& [at, step] : {std::pair{0, -1}, {-15, -1}, {-16, -2}, {-1000, -8}, {1, 0}, {398, 0}, {399, 1}, {431, 3}}) {
    EXPECT_EQ(DragScrollStep(at, 400), step) << at;
  }
  // clang-format on
}

TEST(SelectionModelTest, FollowsTheGestures) {
  // After drawing from (10, 20) to (110, 70): p plain left press, g any other press, d drawing
  // step, m moving step in a 300 x 200 picture at the origin, s the picture scrolled by (x, y).
  const struct {
    std::vector<std::tuple<char, int, int>> steps;
    std::array<double, 6> corners;  // and the move offset
    bool shown = true;
  } cases[] = {
      {{}, {10, 20, 110, 70, -1, -1}},
      {{{'d', 10, 50}}, {10, 20, 110, 70, -1, -1}, false},
      {{{'g', 30, 30}, {'p', 7, 8}}, {7, 8, 110, 70, -1, -1}, false},
      {{{'g', 10, 20}}, {10, 20, 110, 70, 0, 0}},
      {{{'g', 110, 70}}, {10, 20, 110, 70, 100, 50}},
      {{{'g', 111, 70}}, {10, 20, 110, 70, -1, -1}},
      {{{'g', 30, 30}, {'m', 290, 60}, {'m', 280, 60}}, {190, 50, 290, 100, 90, 10}},
      {{{'g', 30, 30}, {'m', -50, -50}}, {0, 0, 100, 50, -50, -50}},
      {{{'g', 200, 150}, {'m', 150, 100}}, {151, 101, 251, 151, -1, -1}},
      {{{'g', 30, 30}, {'m', 80, 60}, {'d', 200, 150}}, {60, 50, 200, 150, 20, 10}},
      {{{'p', -50, 20}, {'d', 350, 70}, {'g', 0, 30}, {'m', 10, 30}}, {-100, 20, 300, 70, 110, 10}},
      {{{'p', 10, 20}, {'s', -8, -16}, {'d', 100, 100}}, {2, 4, 100, 100, -1, -1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    SelectionModel s;
    const ViewportMap view;
    s.Press(true, 10, 20, view);
    s.DrawTo(110, 70, view);
    for (const auto& [op, x, y] : c.steps) {
      if (op == 'p' || op == 'g') s.Press(op == 'p', x, y, view);
      EXPECT_TRUE(op != 'd' || s.DrawTo(x, y, view) == s.Shown);
      if (op == 'm') s.MoveTo(x, y, view, 300, 200);
      if (op == 's') s.ScrollX(0, x), s.ScrollY(0, y);
    }
    EXPECT_EQ((std::array{s.SelX0, s.SelY0, s.SelX1, s.SelY1, s.MoveDX, s.MoveDY}), c.corners);
    EXPECT_EQ(s.Shown, c.shown);
  }
}

TEST(SelectionModelTest, KeepsItsPicturePixelsAtEveryZoom) {
  // Drawn from viewport point (5, 7) to (45, 27) in one view and seen in another: the corners are
  // the edges of the picture pixels under the pointer, times the zoom, plus the offset.
  const struct {
    ViewportMap drawn, seen;
    Region rect;
    std::array<double, 4> corners;
    int pushedTo = 0;  // then moved from (10, 10) to (pushedTo, 10) in a 300 x 200 picture
  } cases[] = {
      {{-16, 0, 2}, {-16, 0, 2}, {10, 3, 20, 10}, {4, 6, 44, 26}},
      {{-16, 0, 2}, {0, -8, 0.5}, {10, 3, 20, 10}, {5, -6.5, 15, -1.5}},
      {{0, -8, 0.25}, {-8, 0, 1}, {20, 60, 160, 80}, {12, 60, 172, 140}},
      {{0, 0, 0.5}, {0, 0, 0.5}, {220, 14, 80, 40}, {110, 7, 150, 27}, 1000},  // its last column
  };
  for (const auto& c : cases) {
    SelectionModel s;
    s.Press(true, 5, 7, c.drawn);
    s.DrawTo(45, 27, c.drawn);
    s.Rezoom(c.drawn, c.seen);
    if (c.pushedTo != 0) s.Press(false, 10, 10, c.seen), s.MoveTo(c.pushedTo, 10, c.seen, 300, 200);
    EXPECT_EQ(s.Rect(c.seen), c.rect);
    EXPECT_EQ((std::array{s.SelX0, s.SelY0, s.SelX1, s.SelY1}), c.corners);
  }
}

QString Selection(int l, int t, int r, int b) {
  return QString::asprintf("Selection: (%d, %d) -> (%d, %d) = (%d x %d)", l, t, r, b, r - l, b - t);
}

using PicFormTest = AppFixture;

TEST_F(PicFormTest, LaysOutFollowsTheMouseGesturesScrollsWhileADragIsHeldAndZooms) {
  OpenPicture(40000, 2);  // wider than 4095 scroll positions of 8 pixels
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Form_Resize_Error"));
  OpenPicture(1000, 500);
  PicForm* window = form->PictureWindow();  // its inner area made 400 x 300 pixels
  PictureSubWindow()->resize(QSize(400, 300) + PictureSubWindow()->size() - window->size());
  QCoreApplication::processEvents();
  ASSERT_EQ(window->size(), QSize(400, 300));
  auto* pic = window->findChild<QWidget*>(QStringLiteral("Pic"));
  auto* selRect = window->findChild<QWidget*>(QStringLiteral("selRect"));
  const auto bar = [window](const char* name) { return window->findChild<QScrollBar*>(name); };
  // Press, a move holding the button, release; in picture coordinates.
  const auto drag = [pic](QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
                          Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(pic, button, keys, from);
    QTest::mouseEvent(QTest::MouseMove, pic, Qt::NoButton, keys, to);
    QTest::mouseRelease(pic, button, keys, to);
  };
  EXPECT_EQ(bar("HScroll1")->geometry(), QRect(0, 282, 382, 18));
  EXPECT_EQ(bar("VScroll1")->geometry(), QRect(382, 0, 18, 282));
  EXPECT_EQ(window->findChild<QWidget*>("PicBox")->geometry(), QRect(0, 0, 381, 281));
  EXPECT_EQ(QPoint(bar("HScroll1")->maximum(), bar("VScroll1")->maximum()), QPoint(78, 28));
  QTest::mouseMove(pic, {12, 34});
  EXPECT_EQ(form->StatusPanel(1), QStringLiteral("(12, 34)"));
  // The right button, or the left one with Shift, moves.
  drag({10, 20}, {60, 50});
  drag({30, 30}, {60, 60}, Qt::RightButton);
  drag({45, 55}, {55, 65}, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(selRect->geometry(), QRect(50, 60, 50, 30));
  EXPECT_EQ(form->StatusPanel(1), Selection(50, 60, 100, 90));
  // Scrolling keeps the selection on its pixels; moving holds it inside the scrolled picture.
  bar("HScroll1")->setValue(5);
  bar("VScroll1")->setValue(2);
  EXPECT_EQ(pic->pos(), QPoint(-40, -16));
  EXPECT_EQ(selRect->geometry(), QRect(50, 60, 50, 30));
  drag({60, 70}, {995, 70}, Qt::RightButton);
  EXPECT_EQ(form->StatusPanel(1), Selection(950, 60, 1000, 90));
  QTest::mouseClick(pic, Qt::LeftButton, {}, {50, 50});
  EXPECT_TRUE(selRect->isHidden());
  EXPECT_EQ(form->StatusPanel(1), QStringLiteral("Selection: all"));
  // The wheel during a gesture scrolls, and the gesture's start stays on its pixel.
  QTest::mousePress(pic, Qt::LeftButton, {}, {50, 60});
  QWheelEvent wheel({}, {}, {}, {0, -120}, Qt::LeftButton, {}, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(window->findChild<QWidget*>("PicBox"), &wheel);
  EXPECT_GT(bar("VScroll1")->value(), 2);
  QTest::mouseMove(pic, {150, 300});
  QTest::mouseRelease(pic, Qt::LeftButton, {}, {150, 300});
  EXPECT_EQ(selRect->geometry(), QRect(50, 60, 100, 240));
  // The next picture is laid out at once in the same window; the selection stays.
  const QRect frame = PictureSubWindow()->geometry();
  OpenPicture(100, 80, "small.bmp");
  EXPECT_FALSE(bar("HScroll1")->isVisible() || bar("VScroll1")->isVisible());
  EXPECT_EQ(pic->pos(), QPoint(0, 0));
  EXPECT_EQ(PictureSubWindow()->geometry(), frame);
  EXPECT_EQ(form->StatusPanel(1), Selection(50, 60, 150, 300));
  EXPECT_EQ(form->StatusPanel(2), QStringLiteral("Image: 100 x 80"));
  EXPECT_EQ(dialogs.warnings, std::vector<QString>({"Overflow"}));  // the only one
  OpenPicture(1000, 500);
  // Held 69 pixels beyond the viewport's right edge, the drag scrolls to the picture's end.
  QTest::mousePress(pic, Qt::LeftButton, {}, {100, 50});
  QTest::mouseMove(pic, {450, 100});
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar("HScroll1")->value() == 78; }));
  QTest::mouseRelease(pic, Qt::LeftButton, {}, {1074, 100});
  EXPECT_EQ(form->StatusPanel(1), Selection(100, 50, 1074, 100));
  // Ctrl+wheel zooms; the selection keeps its picture pixels.
  QWheelEvent zoom({200, 100}, {}, {}, {0, -120}, {}, Qt::ControlModifier, Qt::NoScrollPhase,
                   false);
  QCoreApplication::sendEvent(window->findChild<QWidget*>("PicBox"), &zoom);
  EXPECT_EQ(pic->size(), QSize(500, 250));
  EXPECT_EQ(selRect->geometry(), QRect(50, 25, 487, 25));
  EXPECT_EQ(form->StatusPanel(1), Selection(100, 50, 1074, 100));
  EXPECT_EQ(form->StatusPanel(kPanelPictureZoom), QStringLiteral("Picture 50%"));
  Trigger("mnuZoomFit");
  emit form->findChild<QMenu*>("mnuView")->aboutToShow();  // the marks follow the zoom
  EXPECT_TRUE(Item("mnuZoomFit")->isChecked());
  EXPECT_EQ(form->StatusPanel(kPanelPictureZoom), QStringLiteral("Picture 40%"));
  EXPECT_FALSE(bar("HScroll1")->isVisible() || bar("VScroll1")->isVisible());
  Trigger("mnuZoom100");
  EXPECT_EQ(form->StatusPanel(kPanelPictureZoom), QString());
}

}  // namespace
}  // namespace stipplor::testing
