// Drawing and moving the selection with real mouse events on the picture panel, the status
// texts, scrolling with a selection, and runs over the selection.

#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "engine/encode.h"
#include "engine/html_document.h"
#include "picture_io/load_picture.h"
#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

class SelectionTest : public AppFixture {
 protected:
  // A picture in a picture window whose inner area is 400 x 300 pixels.
  void OpenPicture(int width, int height) {
    path = WritePicture(QStringLiteral("p.bmp"), GradientImage(width, height));
    Open(path);
    ASSERT_NE(form->PictureWindow(), nullptr);
    QMdiSubWindow* frame = PictureSubWindow();
    frame->resize(QSize(400, 300) + frame->size() - form->PictureWindow()->size());
    QCoreApplication::processEvents();
    pic = form->PictureWindow()->findChild<QLabel*>(QStringLiteral("Pic"));
    selRect = form->PictureWindow()->findChild<QWidget*>(QStringLiteral("selRect"));
    ASSERT_NE(pic, nullptr);
    ASSERT_NE(selRect, nullptr);
  }

  // Points are in picture coordinates, as the panel reports them.
  void Press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(pic, button, keys, at);
  }
  // A move while the pressed button is held.
  void Drag(QPoint to, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseEvent(QTest::MouseMove, pic, Qt::NoButton, keys, to);
  }
  void Release(Qt::MouseButton button, QPoint at) { QTest::mouseRelease(pic, button, {}, at); }
  // A move with no button held.
  void Hover(QPoint to) {
    QMouseEvent move(QEvent::MouseMove, to, pic->mapToGlobal(to), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(pic, &move);
  }
  void Draw(QPoint from, QPoint to) {
    Press(Qt::LeftButton, from);
    Drag(to);
    Release(Qt::LeftButton, to);
  }

  bool Shown() const { return !selRect->isHidden(); }
  QString Panel1() const { return form->StatusPanel(1); }
  QString Panel2() const { return form->StatusPanel(2); }
  QScrollBar* Bar(const char* name) const {
    return form->PictureWindow()->findChild<QScrollBar*>(QString::fromLatin1(name));
  }

  // The document a run of the picture window writes with the start options.
  std::string RunDocument() {
    HtmlDocument document;
    form->PictureWindow()->Encode(EncodeOptions{}, document);
    return document.Text();
  }
  std::string EngineDocument(const std::optional<Region>& region) {
    HtmlDocument document;
    Encode(LoadPicture(path), region, EncodeOptions{}, document);
    return document.Text();
  }

  QString path;
  QLabel* pic = nullptr;
  QWidget* selRect = nullptr;
};

TEST_F(SelectionTest, DrawingSpansTheStartAndThePointer) {
  OpenPicture(300, 200);
  Press(Qt::LeftButton, {10, 20});
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: all"));
  EXPECT_EQ(Panel2(), QStringLiteral("Image: 300 x 200"));
  Drag({60, 40});
  EXPECT_TRUE(Shown());
  EXPECT_EQ(selRect->geometry(), QRect(10, 20, 50, 20));
  Drag({110, 70});
  Release(Qt::LeftButton, {110, 70});
  EXPECT_TRUE(Shown());
  EXPECT_EQ(selRect->geometry(), QRect(10, 20, 100, 50));
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (10, 20) -> (110, 70) = (100 x 50)"));
  EXPECT_EQ(Panel2(), QStringLiteral("Image: 300 x 200"));
}

TEST_F(SelectionTest, DrawingBackwardsInSmallStepsGivesTheSameRectangle) {
  OpenPicture(300, 200);
  Press(Qt::LeftButton, {110, 70});
  for (int step = 1; step <= 20; ++step) Drag({110 - 5 * step, 70 - 5 * step / 2});
  Release(Qt::LeftButton, {10, 20});
  EXPECT_EQ(selRect->geometry(), QRect(10, 20, 100, 50));
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (10, 20) -> (110, 70) = (100 x 50)"));
}

TEST_F(SelectionTest, TheStartingColumnHidesTheRectangleAndKeepsTheText) {
  OpenPicture(300, 200);
  Press(Qt::LeftButton, {10, 20});
  Drag({110, 70});
  Drag({10, 50});
  EXPECT_FALSE(Shown());
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (10, 20) -> (110, 70) = (100 x 50)"));
  Drag({60, 50});
  EXPECT_TRUE(Shown());
  EXPECT_EQ(selRect->geometry(), QRect(10, 20, 50, 30));
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (10, 20) -> (60, 50) = (50 x 30)"));
  Release(Qt::LeftButton, {60, 50});
}

TEST_F(SelectionTest, DrawingPastTheLeftEdgeGivesANegativeLeft) {
  OpenPicture(300, 200);
  Press(Qt::LeftButton, {30, 20});
  Drag({-15, 70});
  Release(Qt::LeftButton, {-15, 70});
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (-15, 20) -> (30, 70) = (45 x 50)"));
}

TEST_F(SelectionTest, APlainClickRemovesTheSelectionAndTheRunTakesThePicture) {
  OpenPicture(300, 200);
  Draw({10, 20}, {110, 70});
  QTest::mouseClick(pic, Qt::LeftButton, {}, {50, 50});
  EXPECT_FALSE(Shown());
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: all"));
  EXPECT_EQ(Panel2(), QStringLiteral("Image: 300 x 200"));
  EXPECT_EQ(RunDocument(), EngineDocument(std::nullopt));
}

TEST_F(SelectionTest, ARunCoversTheSelectionAndShowsItAgain) {
  OpenPicture(300, 200);
  Draw({10, 20}, {110, 70});
  EXPECT_EQ(RunDocument(), EngineDocument(Region{10, 20, 100, 50}));
  EXPECT_TRUE(Shown());
  EXPECT_EQ(selRect->geometry(), QRect(10, 20, 100, 50));
}

TEST_F(SelectionTest, EncodingASelectionGivesTheBytesOfTheCommandLineRegion) {
  OpenPicture(300, 200);
  Draw({-7, 33}, {151, 120});
  Trigger("mnuEncode");
  const QString saved = Path(QStringLiteral("gui.html"));
  SaveAs(saved);
  const QByteArray expected = CommandLineOutput(path, {QStringLiteral("--region=-7,33,158,87")},
                                                Path(QStringLiteral("cli.html")));
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(ReadAll(saved), expected);
}

TEST_F(SelectionTest, RightDraggingInsideMovesWithTheGrabbedPoint) {
  OpenPicture(300, 200);
  Draw({10, 20}, {110, 70});
  Press(Qt::RightButton, {30, 30});
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (10, 20) -> (110, 70) = (100 x 50)"));
  Drag({80, 60});
  EXPECT_EQ(selRect->geometry(), QRect(60, 50, 100, 50));
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (60, 50) -> (160, 100) = (100 x 50)"));
  // Pushed against the right edge it rests there.
  Drag({290, 60});
  EXPECT_EQ(selRect->geometry(), QRect(200, 50, 100, 50));
  Drag({295, 65});
  EXPECT_EQ(selRect->geometry(), QRect(200, 55, 100, 50));
  Release(Qt::RightButton, {295, 65});
  EXPECT_TRUE(Shown());
}

TEST_F(SelectionTest, RightDraggingFromOutsidePutsTheCornerNextToThePointer) {
  OpenPicture(300, 200);
  Draw({10, 20}, {110, 70});
  Press(Qt::RightButton, {200, 150});
  Drag({150, 100});
  EXPECT_EQ(selRect->geometry(), QRect(151, 101, 100, 50));
  Drag({160, 110});
  EXPECT_EQ(selRect->geometry(), QRect(161, 111, 100, 50));
  Release(Qt::RightButton, {160, 110});
}

TEST_F(SelectionTest, CtrlOrShiftWithTheLeftButtonMoves) {
  for (Qt::KeyboardModifier key : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier}) {
    OpenPicture(300, 200);
    Draw({10, 20}, {110, 70});
    Press(Qt::LeftButton, {30, 30}, key);
    Drag({40, 45}, key);
    EXPECT_TRUE(Shown()) << key;
    EXPECT_EQ(selRect->geometry(), QRect(20, 35, 100, 50)) << key;
    Release(Qt::LeftButton, {40, 45});
  }
}

TEST_F(SelectionTest, AModifierDuringADrawingGestureMovesTheSelection) {
  OpenPicture(300, 200);
  Press(Qt::LeftButton, {10, 20});
  Drag({110, 70});
  Drag({120, 80}, Qt::ShiftModifier);
  EXPECT_EQ(selRect->geometry(), QRect(121, 81, 100, 50));
  Release(Qt::LeftButton, {120, 80});
}

TEST_F(SelectionTest, HoveringShowsThePointerOnlyWithoutASelection) {
  OpenPicture(300, 200);
  Hover({12, 34});
  EXPECT_EQ(Panel1(), QStringLiteral("(12, 34)"));
  EXPECT_EQ(Panel2(), QStringLiteral("Image: 300 x 200"));
  Draw({10, 20}, {110, 70});
  Hover({200, 150});
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (10, 20) -> (110, 70) = (100 x 50)"));
}

TEST_F(SelectionTest, TheFirstStepOfANewGestureShowsTheRectangleAtItsNewPlace) {
  OpenPicture(300, 200);
  Draw({10, 20}, {110, 70});
  Press(Qt::LeftButton, {200, 150});
  EXPECT_FALSE(Shown());
  Drag({220, 160});
  EXPECT_TRUE(Shown());
  EXPECT_EQ(selRect->geometry(), QRect(200, 150, 20, 10));
  Release(Qt::LeftButton, {220, 160});
}

TEST_F(SelectionTest, ScrollingKeepsTheSelectionOnItsPixels) {
  OpenPicture(1000, 500);
  Draw({50, 60}, {150, 120});
  Bar("HScroll1")->setValue(5);
  Bar("VScroll1")->setValue(2);
  EXPECT_EQ(pic->pos(), QPoint(-40, -16));
  EXPECT_EQ(selRect->geometry(), QRect(50, 60, 100, 60));
  EXPECT_EQ(form->PictureWindow()->Selection().SelX0, 10);
  EXPECT_EQ(form->PictureWindow()->Selection().SelY0, 44);
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (50, 60) -> (150, 120) = (100 x 60)"));
  EXPECT_EQ(Panel2(), QStringLiteral("Image: 1000 x 500"));
}

TEST_F(SelectionTest, PushingAgainstTheRightEdgeOfAScrolledPicture) {
  OpenPicture(1000, 100);
  Bar("HScroll1")->setValue(30);
  Draw({300, 20}, {400, 70});
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (300, 20) -> (400, 70) = (100 x 50)"));
  Press(Qt::RightButton, {350, 30});
  Drag({990, 30});
  EXPECT_EQ(selRect->geometry(), QRect(900, 20, 100, 50));
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: (900, 20) -> (1000, 70) = (100 x 50)"));
  Release(Qt::RightButton, {990, 30});
}

TEST_F(SelectionTest, TheWheelDuringAGestureKeepsItsStartOnThePicture) {
  OpenPicture(300, 1000);
  Press(Qt::LeftButton, {50, 60});
  QWidget* viewport = form->PictureWindow()->findChild<QWidget*>(QStringLiteral("PicBox"));
  QWheelEvent wheel(QPointF(50, 60), viewport->mapToGlobal(QPointF(50, 60)), QPoint(),
                    QPoint(0, -120), Qt::LeftButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(viewport, &wheel);
  ASSERT_GT(Bar("VScroll1")->value(), 0);
  Drag({150, 300});
  EXPECT_EQ(selRect->geometry(), QRect(50, 60, 100, 240));
  Release(Qt::LeftButton, {150, 300});
}

}  // namespace
}  // namespace stipplor::testing
