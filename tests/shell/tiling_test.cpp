// "Tile Horizontally" and "Tile Vertically": the geometry in twips and the windows it moves.

#include "shell/tiling.h"

#include <gtest/gtest.h>

#include <QMdiArea>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

using H = TileCommand;
using Place = std::optional<TwipRect>;

struct TileCase {
  TileCommand command;
  bool p, t;
  double W, Hgt;
  Place picture, result;
};

TEST(TilePlaceTest, FollowsTheTableOfCases) {
  const TileCase cases[] = {
      {H::Horizontally, true, true, 6000, 4000, TwipRect{0, 0, 6000, 2000},
       TwipRect{0, 2000, 6000, 1999}},
      {H::Vertically, true, true, 6000, 4000, TwipRect{0, 0, 3000, 4000},
       TwipRect{3000, 0, 2999, 4000}},
      {H::Horizontally, true, false, 6000, 4000, TwipRect{0, 0, 6000, 4000}, std::nullopt},
      {H::Vertically, true, false, 6000, 4000, TwipRect{0, 0, 6000, 4000}, std::nullopt},
      {H::Horizontally, false, true, 6000, 4000, std::nullopt, TwipRect{0, 0, 6000, 4000}},
      {H::Vertically, false, true, 6000, 4000, std::nullopt, TwipRect{0, 0, 6000, 4000}},
      {H::Horizontally, false, false, 6000, 4000, std::nullopt, std::nullopt},
      {H::Horizontally, true, true, 6000, 4001, TwipRect{0, 0, 6000, 2000.5},
       TwipRect{0, 2000.5, 6000, 1999.5}},
      {H::Vertically, true, true, 6001, 4000, TwipRect{0, 0, 3000.5, 4000},
       TwipRect{3000.5, 0, 2999.5, 4000}},
  };
  for (const TileCase& c : cases) {
    EXPECT_EQ(TilePlace(c.command, ChildWindow::Picture, c.p, c.t, c.W, c.Hgt), c.picture);
    EXPECT_EQ(TilePlace(c.command, ChildWindow::Result, c.p, c.t, c.W, c.Hgt), c.result);
  }
}

TEST(TilePlaceTest, TwipsMapToPixelsThroughTheLogicalDpi) {
  EXPECT_DOUBLE_EQ(ToTwips(400, 96), 6000);
  EXPECT_DOUBLE_EQ(ToTwips(400, 144), 4000);
  // 15 twips a pixel at 96 dpi: edges go to the nearest pixel, halves up.
  EXPECT_EQ(ToPixels({0, 2000, 6000, 1999}, 96, 96), QRect(0, 133, 400, 134));
  EXPECT_EQ(ToPixels({0, 0, 6000, 2000}, 96, 96), QRect(0, 0, 400, 133));
  EXPECT_EQ(ToPixels({7.5, 0, 15, 22.4}, 96, 96), QRect(1, 0, 1, 1));
  EXPECT_EQ(ToPixels({0, 0, 1440, 720}, 144, 72), QRect(0, 0, 144, 36));
}

class TileCommandTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    // The expectations below need a client area of even width and height.
    form->resize(900, 700);
    QCoreApplication::processEvents();
    area = form->ClientArea()->viewport()->size();
    form->resize(900 + area.width() % 2, 700 + area.height() % 2);
    QCoreApplication::processEvents();
    area = form->ClientArea()->viewport()->size();
    ASSERT_EQ(area.width() % 2, 0);
    ASSERT_EQ(area.height() % 2, 0);
  }
  void OpenPicture() { Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(64, 48))); }

  QSize area;
};

TEST_F(TileCommandTest, HorizontallyPutsThePictureAboveTheResult) {
  OpenPicture();
  EncodeAndWait();
  PictureSubWindow()->showMaximized();
  ResultSubWindow()->showMinimized();
  QMdiSubWindow* active = form->ClientArea()->activeSubWindow();
  Trigger("mnuTileHorizontally");
  const int half = area.height() / 2;
  EXPECT_FALSE(PictureSubWindow()->isMaximized());
  EXPECT_FALSE(ResultSubWindow()->isMinimized());
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(0, 0, area.width(), half));
  // One twip shorter than the half is less than a pixel.
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(0, half, area.width(), half));
  EXPECT_EQ(form->ClientArea()->activeSubWindow(), active);
  EXPECT_TRUE(Item("mnuRuvaDev")->isChecked());
}

TEST_F(TileCommandTest, VerticallyPutsThePictureLeftOfTheResult) {
  OpenPicture();
  EncodeAndWait();
  Trigger("mnuTileVertically");
  const int half = area.width() / 2;
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(0, 0, half, area.height()));
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(half, 0, half, area.height()));
}

TEST_F(TileCommandTest, APictureWindowAloneFillsTheClientArea) {
  OpenPicture();
  PictureSubWindow()->showMinimized();
  Trigger("mnuTileVertically");
  EXPECT_FALSE(PictureSubWindow()->isMinimized());
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(QPoint(0, 0), area));
  EXPECT_FALSE(ResultSubWindow()->isVisible());
}

TEST_F(TileCommandTest, AResultWindowAloneFillsTheClientArea) {
  OpenPicture();
  EncodeAndWait();
  PictureSubWindow()->close();
  DeleteClosedWindows();
  Trigger("mnuTileHorizontally");
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(QPoint(0, 0), area));
}

TEST_F(TileCommandTest, TheTiledPictureWindowLaysItselfOutAgain) {
  Open(WritePicture(QStringLiteral("wide.bmp"), GradientImage(2000, 100)));
  EncodeAndWait();
  Trigger("mnuTileVertically");
  auto* bar = form->PictureWindow()->findChild<QWidget*>(QStringLiteral("HScroll1"));
  EXPECT_EQ(bar->width(), form->PictureWindow()->width());
}

}  // namespace
}  // namespace stipplor::testing
