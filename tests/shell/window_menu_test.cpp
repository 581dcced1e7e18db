// The Window menu and the File and "Encode!" items follow the child windows.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QPointer>

#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

class WindowMenuTest : public AppFixture {
 protected:
  void OpenPicture() { Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(64, 48))); }

  // enabled/visible/checked of an item as "evc" with '-' for false, e.g. "ev-". Qt reports a
  // hidden item as disabled.
  std::string State(const char* name) const {
    QAction* item = Item(name);
    return std::string{item->isEnabled() ? 'e' : '-', item->isVisible() ? 'v' : '-',
                       item->isChecked() ? 'c' : '-'};
  }
  std::string Tiles() const { return State("mnuTileHorizontally") + State("mnuTileVertically"); }
};

TEST_F(WindowMenuTest, OpeningAPictureCreatesTheWindowAndListsIt) {
  OpenPicture();
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_TRUE(PictureSubWindow()->isVisible());
  EXPECT_EQ(State("mnuEncode"), "ev-");
  EXPECT_EQ(State("mnuPicture"), "evc");
  EXPECT_EQ(State("mnuRuvaDev"), "---");
  EXPECT_EQ(Tiles(), "ev-ev-");
  EXPECT_EQ(State("mnuSave"), "-v-");
}

TEST_F(WindowMenuTest, EncodeShowsTheResultWindowAndEnablesSaving) {
  OpenPicture();
  EncodeAndWait();
  EXPECT_TRUE(ResultSubWindow()->isVisible());
  EXPECT_EQ(form->ClientArea()->activeSubWindow(), ResultSubWindow());
  EXPECT_EQ(State("mnuRuvaDev"), "evc");
  EXPECT_EQ(State("mnuPicture"), "ev-");
  EXPECT_EQ(State("mnuSave"), "ev-");
}

TEST_F(WindowMenuTest, WindowEntriesMoveTheMarkAndActivateTheirWindow) {
  OpenPicture();
  EncodeAndWait();
  Trigger("mnuPicture");
  EXPECT_EQ(State("mnuPicture"), "evc");
  EXPECT_EQ(State("mnuRuvaDev"), "ev-");
  EXPECT_EQ(form->ClientArea()->activeSubWindow(), PictureSubWindow());
  Trigger("mnuRuvaDev");
  EXPECT_EQ(State("mnuPicture"), "ev-");
  EXPECT_EQ(State("mnuRuvaDev"), "evc");
  EXPECT_EQ(form->ClientArea()->activeSubWindow(), ResultSubWindow());
}

TEST_F(WindowMenuTest, ClosingTheResultWindowHidesItAndKeepsTilingWhileThePictureIsOpen) {
  OpenPicture();
  EncodeAndWait();
  QPointer<TextForm> result = form->ResultWindow();
  ResultSubWindow()->close();
  DeleteClosedWindows();
  ASSERT_FALSE(result.isNull());
  EXPECT_FALSE(ResultSubWindow()->isVisible());
  EXPECT_EQ(State("mnuSave"), "-v-");
  EXPECT_EQ(State("mnuRuvaDev").substr(0, 2), "--");
  EXPECT_EQ(Tiles(), "ev-ev-");

  // The next run writes into the same window and shows it again.
  EncodeAndWait();
  EXPECT_EQ(form->ResultWindow(), result.data());
  EXPECT_TRUE(ResultSubWindow()->isVisible());
  EXPECT_EQ(State("mnuRuvaDev"), "evc");
  EXPECT_EQ(State("mnuSave"), "ev-");
}

TEST_F(WindowMenuTest, ClosingThePictureWindowDestroysItAndClearsItsEntries) {
  OpenPicture();
  form->SetStatusPanel(1, QStringLiteral("x"));
  form->SetStatusPanel(2, QStringLiteral("y"));
  PictureSubWindow()->close();
  DeleteClosedWindows();
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->StatusPanel(1), QString());
  EXPECT_EQ(form->StatusPanel(2), QString());
  EXPECT_EQ(State("mnuEncode"), "-v-");
  EXPECT_EQ(State("mnuPicture").substr(0, 2), "--");
  // No result window is shown: nothing is left to tile.
  EXPECT_EQ(Tiles(), "-v--v-");

  // The next open creates a new window.
  OpenPicture();
  EXPECT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(State("mnuEncode"), "ev-");
}

TEST_F(WindowMenuTest, TilingStaysWhileOneChildIsShown) {
  OpenPicture();
  EncodeAndWait();
  PictureSubWindow()->close();
  DeleteClosedWindows();
  EXPECT_EQ(Tiles(), "ev-ev-");
  ResultSubWindow()->close();
  EXPECT_EQ(Tiles(), "-v--v-");
}

TEST_F(WindowMenuTest, ClosingTheMainWindowClosesTheHiddenResultWindowForReal) {
  QPointer<TextForm> result = form->ResultWindow();
  Trigger("mnuFileExit");
  DeleteClosedWindows();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(result.isNull());
  EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace stipplor::testing
