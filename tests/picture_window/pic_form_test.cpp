// The picture window's widgets: layout on resize, scrolling, load and unload.

#include "picture_window/pic_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

class PicFormTest : public AppFixture {
 protected:
  void OpenPicture(int width, int height) {
    Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(width, height)));
    ASSERT_NE(form->PictureWindow(), nullptr);
    window = form->PictureWindow();
  }

  // Sizes the subwindow so that the picture window's inner area is width x height.
  void SetInnerSize(int width, int height) {
    QMdiSubWindow* frame = PictureSubWindow();
    frame->showNormal();
    const QSize border = frame->size() - window->size();
    frame->resize(QSize(width, height) + border);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->size(), QSize(width, height));
  }

  template <typename T>
  T* Child(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QScrollBar* HScroll1() const { return Child<QScrollBar>("HScroll1"); }
  QScrollBar* VScroll1() const { return Child<QScrollBar>("VScroll1"); }
  QWidget* PicBox() const { return Child<QWidget>("PicBox"); }
  QLabel* Pic() const { return Child<QLabel>("Pic"); }

  PicForm* window = nullptr;
};

TEST_F(PicFormTest, APictureThatFitsNeedsNoBars) {
  OpenPicture(100, 80);
  SetInnerSize(400, 300);
  EXPECT_FALSE(HScroll1()->isVisible());
  EXPECT_FALSE(VScroll1()->isVisible());
  EXPECT_EQ(PicBox()->geometry(), QRect(0, 0, 400, 300));
  EXPECT_EQ(Pic()->geometry(), QRect(0, 0, 100, 80));
}

TEST_F(PicFormTest, AWidePictureGetsAHorizontalBarInEightPixelSteps) {
  OpenPicture(1000, 100);
  SetInnerSize(400, 300);
  ASSERT_TRUE(HScroll1()->isVisible());
  EXPECT_FALSE(VScroll1()->isVisible());
  EXPECT_EQ(HScroll1()->geometry(), QRect(0, 282, 400, 18));
  EXPECT_EQ(PicBox()->geometry(), QRect(0, 0, 400, 281));
  EXPECT_EQ(HScroll1()->minimum(), 0);
  EXPECT_EQ(HScroll1()->maximum(), 75);
  EXPECT_EQ(HScroll1()->singleStep(), 1);
  EXPECT_EQ(HScroll1()->pageStep(), 1);

  HScroll1()->setValue(75);
  EXPECT_EQ(Pic()->x(), -600);
  EXPECT_EQ(form->StatusPanel(1), QStringLiteral("Selection: all"));
  EXPECT_EQ(form->StatusPanel(2), QStringLiteral("Image: 1000 x 100"));
}

TEST_F(PicFormTest, EnlargingPastAScrolledPictureKeepsItInPlace) {
  OpenPicture(1000, 100);
  SetInnerSize(400, 300);
  HScroll1()->setValue(30);
  SetInnerSize(1400, 300);
  EXPECT_TRUE(HScroll1()->isVisible());
  EXPECT_EQ(HScroll1()->maximum(), 30);
  EXPECT_EQ(HScroll1()->value(), 30);
  EXPECT_EQ(Pic()->x(), -240);
}

TEST_F(PicFormTest, MinimisingLeavesTheLayout) {
  OpenPicture(1000, 100);
  SetInnerSize(400, 300);
  const QRect viewport = PicBox()->geometry();
  PictureSubWindow()->showMinimized();
  QCoreApplication::processEvents();
  EXPECT_EQ(PicBox()->geometry(), viewport);
  EXPECT_EQ(HScroll1()->maximum(), 75);
}

TEST_F(PicFormTest, ALayoutErrorIsShownAndTheWindowStaysUsable) {
  // Wider than 4095 scroll positions of 8 pixels.
  OpenPicture(40000, 2);
  SetInnerSize(400, 300);
  ASSERT_FALSE(dialogs.Warnings().empty());
  EXPECT_EQ(dialogs.Warnings().back(), QStringLiteral("Overflow"));
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Form_Resize_Error"));
  // The next picture lays out as usual.
  dialogs.calls.clear();
  OpenPicture(1000, 100);
  SetInnerSize(410, 300);
  EXPECT_TRUE(dialogs.Warnings().empty());
  EXPECT_EQ(HScroll1()->maximum(), 74);
}

TEST_F(PicFormTest, AnotherPictureIsLaidOutAndReportedAtOnce) {
  // Each row: the first picture and the position it is scrolled to, the second picture, then
  // right after the second opens: the bars' maxima and positions (-1: hidden), Pic's place.
  const struct {
    QSize first;
    int scrolled;
    QSize second;
    int hMaximum, hPosition, vMaximum, vPosition;
    QPoint pic;
  } cases[] = {
      {{100, 80}, 0, {1600, 1200}, 153, 0, 115, 0, {0, 0}},
      {{1000, 100}, 30, {100, 80}, -1, -1, -1, -1, {0, 0}},
  };
  for (const auto& c : cases) {
    OpenPicture(c.first.width(), c.first.height());
    SetInnerSize(400, 300);
    HScroll1()->setValue(c.scrolled);
    // A selection over picture pixels (10, 20) to (110, 70), which the open keeps.
    QTest::mousePress(Pic(), Qt::LeftButton, {}, {10, 20});
    QTest::mouseMove(Pic(), {110, 70});
    QTest::mouseRelease(Pic(), Qt::LeftButton, {}, {110, 70});
    const QRect frame = PictureSubWindow()->geometry();

    OpenPicture(c.second.width(), c.second.height());
    EXPECT_EQ(HScroll1()->isVisible() ? HScroll1()->maximum() : -1, c.hMaximum);
    EXPECT_EQ(HScroll1()->isVisible() ? HScroll1()->value() : -1, c.hPosition);
    EXPECT_EQ(VScroll1()->isVisible() ? VScroll1()->maximum() : -1, c.vMaximum);
    EXPECT_EQ(VScroll1()->isVisible() ? VScroll1()->value() : -1, c.vPosition);
    EXPECT_EQ(Pic()->pos(), c.pic);
    EXPECT_EQ(PictureSubWindow()->geometry(), frame);
    EXPECT_EQ(form->StatusPanel(1),
              QStringLiteral("Selection: (10, 20) -> (110, 70) = (100 x 50)"));
    EXPECT_EQ(form->StatusPanel(2),
              QStringLiteral("Image: %1 x %2").arg(c.second.width()).arg(c.second.height()));
  }
}

TEST_F(PicFormTest, TheScrollBarsNeverTakeTheFocus) {
  OpenPicture(1000, 100);
  EXPECT_EQ(HScroll1()->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(VScroll1()->focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace stipplor::testing
