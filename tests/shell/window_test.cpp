// The Window menu, "Encode!" and "Save As ..." follow the child windows; the tiling commands
// place them.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QPointer>

#include "shell/tiling.h"
#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

TEST(TilingTest, PlacesTheShownWindowsInTwipsAndRoundsToPixels) {
  using C = TileCommand;
  using R = std::optional<TwipRect>;
  const struct {
    C command;
    bool p, t;
    R picture, result;
  } cases[] = {
      {C::Horizontally, true, true, TwipRect{0, 0, 6000, 2000.5},
       TwipRect{0, 2000.5, 6000, 1999.5}},
      {C::Vertically, true, true, TwipRect{0, 0, 3000, 4001}, TwipRect{3000, 0, 2999, 4001}},
      {C::Horizontally, true, false, TwipRect{0, 0, 6000, 4001}, std::nullopt},
      {C::Vertically, false, true, std::nullopt, TwipRect{0, 0, 6000, 4001}},
      {C::Horizontally, false, false, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TilePlace(c.command, ChildWindow::Picture, c.p, c.t, 6000, 4001), c.picture);
    EXPECT_EQ(TilePlace(c.command, ChildWindow::Result, c.p, c.t, 6000, 4001), c.result);
  }
  EXPECT_DOUBLE_EQ(ToTwips(400, 144), 4000);
  // Edges go to the nearest pixel, halves up.
  EXPECT_EQ(ToPixels({7.5, 0, 15, 22.4}, 96, 96), QRect(1, 0, 1, 1));
  EXPECT_EQ(ToPixels({0, 0, 1440, 720}, 144, 72), QRect(0, 0, 144, 36));
}

using WindowTest = AppFixture;

TEST_F(WindowTest, TheItemsFollowTheChildWindowsAndTilingPlacesThem) {
  // Encode, Save, Tile Horizontally, Tile Vertically, Picture, RuvaDev: h hidden, - disabled,
  // e enabled, c checked.
  const auto states = [this] {
    std::string s;
    for (const char* name : {"mnuEncode", "mnuSave", "mnuTileHorizontally", "mnuTileVertically",
                             "mnuPicture", "mnuRuvaDev"}) {
      const QAction* item = Item(name);
      s += !item->isVisible() ? 'h' : item->isChecked() ? 'c' : item->isEnabled() ? 'e' : '-';
    }
    return s;
  };
  const auto close = [](QMdiSubWindow* window) {
    window->close();
    DeleteClosedWindows();
  };
  QMdiArea* area = form->ClientArea();
  const QPointer<TextForm> result = form->ResultWindow();
  result->Form_Activate();  // hidden, it does not list itself
  EXPECT_EQ(states(), "----hh");
  OpenPicture(2000, 100);
  EXPECT_EQ(states(), "e-eech");
  EncodeAndWait();
  EXPECT_EQ(states(), "eeeeec");
  EXPECT_EQ(area->activeSubWindow(), ResultSubWindow());
  Trigger("mnuPicture");
  EXPECT_EQ(states(), "eeeece");
  EXPECT_EQ(area->activeSubWindow(), PictureSubWindow());
  Trigger("mnuRuvaDev");
  EXPECT_EQ(states(), "eeeeec");
  EXPECT_EQ(area->activeSubWindow(), ResultSubWindow());

  // Tiling restores minimised and maximised windows and keeps the active one.
  const QSize size = area->viewport()->size();
  const int half = (size.height() + 1) / 2;
  PictureSubWindow()->showMaximized();
  ResultSubWindow()->showMinimized();
  QMdiSubWindow* active = area->activeSubWindow();
  Trigger("mnuTileHorizontally");
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(0, 0, size.width(), half));
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(0, half, size.width(), size.height() - half));
  EXPECT_EQ(area->activeSubWindow(), active);
  Trigger("mnuTileVertically");
  const int left = (size.width() + 1) / 2;
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(0, 0, left, size.height()));
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(left, 0, size.width() - left, size.height()));
  // The picture window lays itself out again.
  EXPECT_EQ(form->PictureWindow()->findChild<QWidget*>(QStringLiteral("HScroll1"))->width(),
            form->PictureWindow()->width());

  // The result window only hides; alone, a window fills the client area.
  close(ResultSubWindow());
  EXPECT_EQ(states(), "e-eeeh");
  ASSERT_EQ(form->ResultWindow(), result.data());
  EXPECT_FALSE(ResultSubWindow()->isVisible());
  Trigger("mnuTileVertically");
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(QPoint(), size));
  EncodeAndWait();
  EXPECT_EQ(states(), "eeeeec");
  close(PictureSubWindow());
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->StatusPanel(1) + form->StatusPanel(2), QString());
  EXPECT_EQ(states(), "-eeehc");
  Trigger("mnuTileHorizontally");
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(QPoint(), size));
  ResultSubWindow()->close();
  EXPECT_EQ(states(), "----hh");
  OpenPicture(64, 48);
  EXPECT_EQ(states(), "e-eech");

  // Closing the main window closes the hidden result window for real, asking nothing.
  Trigger("mnuFileExit");
  DeleteClosedWindows();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(result.isNull());
  EXPECT_TRUE(dialogs.Warnings().empty());
}

}  // namespace
}  // namespace stipplor::testing
