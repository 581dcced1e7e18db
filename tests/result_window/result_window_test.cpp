// The result window on its own: hiding instead of closing, the shown document, activation.

#include <gtest/gtest.h>
#include <signal.h>

#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "tests/support/gui/app_fixture.h"

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

TEST_F(ResultWindowTest, ABrowserProcessThatEndsIsReportedAndThePageStaysSaveable) {
  const QString picture = WritePicture(QStringLiteral("p.bmp"), GradientImage(16, 16));
  Open(picture);
  EncodeAndWait();
  TextForm* result = form->ResultWindow();
  const qint64 process = result->WebBrowser1->page()->renderProcessPid();
  ASSERT_GT(process, 0);
  ::kill(static_cast<pid_t>(process), SIGKILL);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.Warnings().empty(); }, 20000));

  const QString text = dialogs.Warnings().front();
  EXPECT_TRUE(text.contains(QStringLiteral("browser process drawing the page was killed")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("a page width"))) << text.toStdString();
  EXPECT_TRUE(result->FailureMessage->isVisible());
  EXPECT_FALSE(result->WebBrowser1->isVisible());
  EXPECT_EQ(result->FailureMessage->text(), text);
  SaveAs(Path(QStringLiteral("kept.html")));
  EXPECT_EQ(ReadAll(Path(QStringLiteral("kept.html"))),
            CommandLineOutput(picture, {}, Path(QStringLiteral("cli.html"))));

  // The next run shows its page again.
  EncodeAndWait();
  EXPECT_TRUE(result->WebBrowser1->isVisible());
  EXPECT_EQ(dialogs.Warnings().size(), 1U);
}

TEST_F(ResultWindowTest, ALoadThatFailsIsReported) {
  form->ResultWindow()->WebBrowser1->load(QUrl::fromLocalFile(Path(QStringLiteral("gone.html"))));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.Warnings().empty(); }, 20000));
  EXPECT_TRUE(dialogs.Warnings().front().startsWith(
      QStringLiteral("The page cannot be shown. Loading it failed: ")))
      << dialogs.Warnings().front().toStdString();
  EXPECT_FALSE(form->ResultWindow()->FailureMessage->isHidden());
}

TEST_F(ResultWindowTest, ShowsTheLoadsProgressAndANewRunStopsTheOldLoadQuietly) {
  auto* bar = form->findChild<QProgressBar*>(QStringLiteral("LoadProgress"));
  ASSERT_NE(bar, nullptr);
  std::vector<int> shown;  // the bar's value at each step of the loads, -1 while hidden
  QObject::connect(form->ResultWindow()->WebBrowser1, &QWebEngineView::loadProgress, bar,
                   [&](int) { shown.push_back(bar->isVisible() ? bar->value() : -1); });
  // A page of 250,000 cells loads for a while; the next run's page replaces it.
  Open(WritePicture(QStringLiteral("large.bmp"), GradientImage(1000, 1000)));
  Trigger("mnuEncode");
  Trigger("mnuBW");
  QSignalSpy loaded(form->ResultWindow()->WebBrowser1, &QWebEngineView::loadFinished);
  Trigger("mnuEncode");
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !loaded.isEmpty() && loaded.last().at(0).toBool(); }, 20000));
  EXPECT_TRUE(dialogs.Warnings().empty());
  EXPECT_TRUE(form->ResultWindow()->WebBrowser1->isVisible());
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(std::count(shown.begin(), shown.end(), -1), 0);
  EXPECT_FALSE(bar->isVisible());
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
