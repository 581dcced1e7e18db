// "Encode!": the bytes of the command line, the question before a page too large for browsers,
// a failed run, a click during a run.

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include "tests/support/gui/app_fixture.h"
#include "tests/support/run_program.h"

namespace stipplor::testing {
namespace {

using EncodeTest = AppFixture;

TEST_F(EncodeTest, EncodeAndSaveWriteTheBytesOfTheCommandLine) {
  const std::string astronaut = STIPPLOR_SOURCE_DIR "/samples/astronaut.jpg";
  // 1000 x 872 pixels: a page 400 wide is decoded at half the size, then averaged down.
  const std::string hubble = STIPPLOR_SOURCE_DIR "/samples/hubble.jpg";
  const struct {
    std::string picture;
    std::vector<const char*> items;  // added to those of the cases before
    std::vector<std::string> arguments;
    bool select = false;  // from (10, 20) to (410, 320)
  } cases[] = {
      {astronaut, {}, {}},
      {astronaut, {"mnuBW"}, {"--bw"}},
      {astronaut,
       {"mnuColored", "mnuSize3", "mnuColoredLoQu", "mnuMinimizeSize"},
       {"--size=3:2", "--quality=low", "--no-minimize"}},
      {astronaut,
       {"mnuColoredHiQu", "mnuPixelFont"},
       {"--size=3:2", "--no-minimize", "--pixel-font"}},
      {hubble, {"mnuSize2", "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidth400"}, {"--width=400"}},
      {hubble, {"mnuSize1"}, {"--width=400", "--size=1:2", "--region=10,20,400,300"}, true},
  };
  int n = 0;
  for (const auto& c : cases) {
    Open(QString::fromStdString(c.picture));
    for (const char* item : c.items) Trigger(item);
    if (c.select) {
      auto* pic = form->PictureWindow()->findChild<QLabel*>(QStringLiteral("Pic"));
      QTest::mousePress(pic, Qt::LeftButton, {}, {10, 20});
      QTest::mouseEvent(QTest::MouseMove, pic, Qt::NoButton, {}, {410, 320});
      QTest::mouseRelease(pic, Qt::LeftButton, {}, {410, 320});
    }
    EncodeAndWait();
    if (c.select) {
      EXPECT_EQ(form->ResultWindow()->windowTitle(),
                QStringLiteral("1:2  Colored  High-Quality  Size-Minimized  Width-400"));
      EXPECT_TRUE(form->PictureWindow()->Selection().Shown);
    }
    const std::string saved = folder / ("gui" + std::to_string(n) + ".html");
    const std::string out = folder / ("cli" + std::to_string(n++) + ".html");
    SaveAs(QString::fromStdString(saved));
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {c.picture, "-o", out});
    ASSERT_EQ(test::RunEncoder(arguments).exitCode, 0);
    EXPECT_EQ(test::ReadFile(saved), test::ReadFile(out)) << arguments.front();
  }
}

TEST_F(EncodeTest, AsksBeforeAPageOfMoreCellsThanBrowsersShow) {
  QImage black(1001, 1000, QImage::Format_RGB32);
  black.fill(Qt::black);
  Trigger("mnuSize1");
  Trigger("mnuBW");
  // 1000 x 1000 cells are within the limit: no question.
  ASSERT_TRUE(black.copy(0, 0, 1000, 1000).save(Path(QStringLiteral("within.bmp"))));
  Open(Path(QStringLiteral("within.bmp")));
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Open);

  ASSERT_TRUE(black.save(Path(QStringLiteral("beyond.bmp"))));
  Open(Path(QStringLiteral("beyond.bmp")));
  const struct {
    int answer;
    const char* width;  // the table's width on the page; none: no run
    const char* caption;
  } cases[] = {
      {2, nullptr, nullptr},
      {1, " width=2002 ", "1:2  B&W  Dotted  Grey"},
      {0, " width=1600 ", "1:2  B&W  Dotted  Grey  Width-1600"},
  };
  for (const auto& c : cases) {
    const std::string before = form->ResultWindow()->ShownDocument().Text();
    dialogs.answers.push_back(c.answer);
    Trigger("mnuEncode");
    const ScriptedDialogs::Call& asked = dialogs.calls.back();
    EXPECT_EQ(asked.kind, ScriptedDialogs::Kind::Choice);
    EXPECT_EQ(asked.text,
              QStringLiteral("This page would have 1,001,000 cells, about 4 MB; browsers show "
                             "pages of up to about 1,000,000 cells.\rEncode it scaled to a page "
                             "width of 1600 pixels, at full size anyway, or not at all?"));
    EXPECT_EQ(asked.buttons, (QStringList{QStringLiteral("Scale to 1600 Pixels"),
                                          QStringLiteral("Full Size"), QStringLiteral("Cancel")}));
    const std::string& document = form->ResultWindow()->ShownDocument().Text();
    if (c.width == nullptr) {
      EXPECT_EQ(document, before);
      continue;
    }
    EXPECT_NE(document.find(c.width), std::string::npos) << c.width;
    EXPECT_EQ(form->ResultWindow()->windowTitle().toStdString(), c.caption);
  }
}

TEST_F(EncodeTest, AFailedRunIsReportedAndKeepsThePreviousResult) {
  OpenPicture(20, 20);
  EncodeAndWait();
  const std::string document = form->ResultWindow()->ShownDocument().Text();
  const QString caption = form->ResultWindow()->windowTitle();
  // 2 x 20000 table cells leave the 16-bit range.
  OpenPicture(20000, 2, QStringLiteral("wide.bmp"));
  Trigger("mnuSize1");
  Qt::CursorShape atMessage = Qt::WaitCursor;
  dialogs.onShow = [&] { atMessage = form->cursor().shape(); };
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Overflow")});
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(atMessage, Qt::ArrowCursor);
  EXPECT_EQ(form->ResultWindow()->ShownDocument().Text(), document);
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);
  EXPECT_TRUE(Item("mnuSave")->isEnabled());
}

// A click on "Encode!" that the window system delivers while a run starts is handled after the
// run: the run lets painting happen first, not the user's input.
TEST_F(EncodeTest, AClickQueuedAtTheStartOfARunWaitsForItsEnd) {
  OpenPicture(20, 20);
  QMenuBar* bar = form->menuBar();
  const QPointF at = bar->mapTo(form.get(), bar->actionGeometry(Item("mnuEncode")).center());
  int runs = 0;
  QObject::connect(Item("mnuEncode"), &QAction::triggered, form.get(), [&runs] { ++runs; });
  const auto queue = [&](QEvent::Type type, Qt::MouseButtons held) {
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        form->windowHandle(), at, form->mapToGlobal(at), held, Qt::LeftButton, type);
  };
  queue(QEvent::MouseButtonPress, Qt::LeftButton);
  queue(QEvent::MouseButtonRelease, Qt::NoButton);
  Trigger("mnuEncode");
  EXPECT_EQ(runs, 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace stipplor::testing
