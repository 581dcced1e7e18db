// The result window on its own: hiding instead of closing, the shown document, activation.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QWebEngineView>

#include "tests/gui_support/app_fixture.h"

namespace stipplor::testing {
namespace {

using ResultWindowTest = AppFixture;

TEST_F(ResultWindowTest, StartsWithAnEmptyDocument) {
  EXPECT_EQ(form->ResultWindow()->WebBrowser1->url(), QUrl(QStringLiteral("about:blank")));
  EXPECT_EQ(form->ResultWindow()->ShownDocument().Text(), "");
}

TEST_F(ResultWindowTest, HidesWhenClosedAndKeepsItsDocument) {
  Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(16, 16)));
  EncodeAndWait();
  TextForm* result = form->ResultWindow();
  const std::string document = result->ShownDocument().Text();
  const QUrl shown = result->WebBrowser1->url();
  ResultSubWindow()->close();
  DeleteClosedWindows();
  ASSERT_EQ(form->ResultWindow(), result);
  EXPECT_FALSE(ResultSubWindow()->isVisible());
  EXPECT_EQ(result->ShownDocument().Text(), document);
  EXPECT_EQ(result->WebBrowser1->url(), shown);
}

TEST_F(ResultWindowTest, EachRunReplacesTheShownDocument) {
  Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(16, 16)));
  EncodeAndWait();
  const std::string first = form->ResultWindow()->ShownDocument().Text();
  const QUrl firstUrl = form->ResultWindow()->WebBrowser1->url();
  Trigger("mnuBW");
  EncodeAndWait();
  EXPECT_NE(form->ResultWindow()->ShownDocument().Text(), first);
  EXPECT_NE(form->ResultWindow()->WebBrowser1->url(), firstUrl);
  // The view shows the document of the last run, byte for byte.
  EXPECT_EQ(ReadAll(form->ResultWindow()->WebBrowser1->url().toLocalFile()).toStdString(),
            form->ResultWindow()->ShownDocument().Text());
  // The earlier document's file is gone.
  EXPECT_FALSE(QFile::exists(firstUrl.toLocalFile()));
}

TEST_F(ResultWindowTest, AHiddenWindowDoesNotListItselfWhenActivated) {
  form->ResultWindow()->Form_Activate();
  EXPECT_FALSE(Item("mnuRuvaDev")->isVisible());
  EXPECT_FALSE(Item("mnuTileVertically")->isEnabled());
}

TEST_F(ResultWindowTest, TheViewFillsTheWindow) {
  Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(16, 16)));
  EncodeAndWait();
  ResultSubWindow()->resize(500, 350);
  QCoreApplication::processEvents();
  EXPECT_EQ(form->ResultWindow()->WebBrowser1->geometry(), form->ResultWindow()->rect());
}

}  // namespace
}  // namespace stipplor::testing
