// The picture window's widgets wired to the layout and the selection: bars and scrolling, real
// mouse gestures, the status texts.

#include "picture_window/pic_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

class PicFormTest : public AppFixture {
 protected:
  // A picture in a picture window whose inner area is 400 x 300 pixels.
  void Show(int width, int height) {
    OpenPicture(width, height);
    window = form->PictureWindow();
    ASSERT_NE(window, nullptr);
    PictureSubWindow()->resize(QSize(400, 300) + PictureSubWindow()->size() - window->size());
    QCoreApplication::processEvents();
    ASSERT_EQ(window->size(), QSize(400, 300));
    pic = window->findChild<QLabel*>(QStringLiteral("Pic"));
    selRect = window->findChild<QWidget*>(QStringLiteral("selRect"));
  }
  QScrollBar* Bar(const char* name) const {
    return window->findChild<QScrollBar*>(QString::fromLatin1(name));
  }
  QWidget* Child(const char* name) const {
    return window->findChild<QWidget*>(QString::fromLatin1(name));
  }
  // Points are in picture coordinates, as the panel reports them; a move holds the button.
  void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(pic, button, keys, at);
  }
  void Drag(QPoint to, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseEvent(QTest::MouseMove, pic, Qt::NoButton, keys, to);
  }
  void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(pic, button, {}, at);
  }
  void Hover(QPoint to) {
    QMouseEvent move(QEvent::MouseMove, to, pic->mapToGlobal(to), Qt::NoButton, Qt::NoButton, {});
    QCoreApplication::sendEvent(pic, &move);
  }
  QString Panel1() const { return form->StatusPanel(1); }
  static QString Selection(int l, int t, int r, int b) {
    return QStringLiteral("Selection: (%1, %2) -> (%3, %4) = (%5 x %6)")
        .arg(l)
        .arg(t)
        .arg(r)
        .arg(b)
        .arg(r - l)
        .arg(b - t);
  }

  PicForm* window = nullptr;
  QLabel* pic = nullptr;
  QWidget* selRect = nullptr;
};

TEST_F(PicFormTest, LaysOutScrollsAndReportsEachPicture) {
  Show(40000, 2);  // wider than 4095 scroll positions of 8 pixels
  ASSERT_FALSE(dialogs.calls.empty());
  EXPECT_EQ(dialogs.calls.back().text, QStringLiteral("Overflow"));
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Form_Resize_Error"));
  dialogs.calls.clear();

  Show(1000, 100);
  ASSERT_TRUE(Bar("HScroll1")->isVisible());
  EXPECT_FALSE(Bar("VScroll1")->isVisible());
  EXPECT_EQ(Bar("HScroll1")->geometry(), QRect(0, 282, 400, 18));
  EXPECT_EQ(Child("PicBox")->geometry(), QRect(0, 0, 400, 281));
  EXPECT_EQ(Bar("HScroll1")->maximum(), 75);
  Bar("HScroll1")->setValue(30);
  EXPECT_EQ(pic->pos(), QPoint(-240, 0));
  Press({10, 20});
  Drag({110, 70});
  Release({110, 70});
  const QRect frame = PictureSubWindow()->geometry();

  // The next picture is laid out at once in the same window; the selection stays.
  OpenPicture(100, 80, QStringLiteral("small.bmp"));
  EXPECT_FALSE(Bar("HScroll1")->isVisible());
  EXPECT_EQ(pic->pos(), QPoint(0, 0));
  EXPECT_EQ(PictureSubWindow()->geometry(), frame);
  EXPECT_EQ(Panel1(), Selection(10, 20, 110, 70));
  EXPECT_EQ(form->StatusPanel(2), QStringLiteral("Image: 100 x 80"));
  EXPECT_TRUE(dialogs.Warnings().empty());
}

TEST_F(PicFormTest, MouseGesturesDrawAndMoveTheSelection) {
  Show(1000, 500);
  Hover({12, 34});
  EXPECT_EQ(Panel1(), QStringLiteral("(12, 34)"));
  Press({10, 20});
  Drag({110, 70});
  // On the starting column the rectangle hides and the text stays.
  Drag({10, 50});
  EXPECT_TRUE(selRect->isHidden());
  EXPECT_EQ(Panel1(), Selection(10, 20, 110, 70));
  Drag({60, 50});
  Release({60, 50});
  EXPECT_EQ(selRect->geometry(), QRect(10, 20, 50, 30));
  EXPECT_EQ(Panel1(), Selection(10, 20, 60, 50));
  EXPECT_EQ(form->StatusPanel(2), QStringLiteral("Image: 1000 x 500"));
  Hover({200, 150});
  EXPECT_EQ(Panel1(), Selection(10, 20, 60, 50));

  // The right button, or the left one with Shift, Ctrl or Alt, moves the selection.
  Press({30, 30}, Qt::RightButton);
  Drag({80, 60});
  Release({80, 60}, Qt::RightButton);
  EXPECT_EQ(selRect->geometry(), QRect(60, 50, 50, 30));
  for (const Qt::KeyboardModifier key : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    Press({100, 75}, Qt::LeftButton, key);
    Drag({110, 85}, key);
    Release({110, 85});
  }
  EXPECT_EQ(selRect->geometry(), QRect(90, 80, 50, 30));
  EXPECT_EQ(Panel1(), Selection(90, 80, 140, 110));

  // Scrolling keeps the selection on its pixels; moving holds it inside the scrolled picture.
  Bar("HScroll1")->setValue(5);
  Bar("VScroll1")->setValue(2);
  EXPECT_EQ(pic->pos(), QPoint(-40, -16));
  EXPECT_EQ(selRect->geometry(), QRect(90, 80, 50, 30));
  Press({100, 90}, Qt::RightButton);
  Drag({995, 90});
  Release({995, 90}, Qt::RightButton);
  EXPECT_EQ(Panel1(), Selection(950, 80, 1000, 110));

  // A plain click removes the selection.
  QTest::mouseClick(pic, Qt::LeftButton, {}, {50, 50});
  EXPECT_TRUE(selRect->isHidden());
  EXPECT_EQ(Panel1(), QStringLiteral("Selection: all"));

  // The wheel during a gesture scrolls, and the gesture's start stays on its pixel.
  Press({50, 60});
  QWidget* viewport = Child("PicBox");
  QWheelEvent wheel({50, 60}, viewport->mapToGlobal(QPointF(50, 60)), {}, {0, -120}, Qt::LeftButton,
                    {}, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(viewport, &wheel);
  EXPECT_GT(Bar("VScroll1")->value(), 2);
  Drag({150, 300});
  Release({150, 300});
  EXPECT_EQ(selRect->geometry(), QRect(50, 60, 100, 240));
}

}  // namespace
}  // namespace stipplor::testing
