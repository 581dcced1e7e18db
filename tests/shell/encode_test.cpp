// "Encode!": the run with the seven option values, the result window, the command-line twin.

#include "engine/encode.h"

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "engine/html_document.h"
#include "picture_io/load_picture.h"
#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

const QString kSample = QStringLiteral(STIPPLOR_SOURCE_DIR "/samples/astronaut.jpg");

// The document the engine writes for this picture file and these options.
std::string EngineDocument(const QString& path, const EncodeOptions& options) {
  HtmlDocument document;
  Encode(LoadPicture(path), std::nullopt, options, document);
  return document.Text();
}

using EncodeCommandTest = AppFixture;

TEST_F(EncodeCommandTest, RunsWithTheStartValuesAndCaptionsTheResult) {
  const QString path = WritePicture(QStringLiteral("p.bmp"), GradientImage(37, 23));
  Open(path);
  EncodeAndWait();
  EncodeOptions expected;
  expected.BW = 0;
  expected.Ratio = 2;
  expected.Colorized = 0;
  expected.HighQuality = -1;
  expected.MinimizeSize = -1;
  expected.BWEncoding = 2;
  expected.BWSmoothTransition = -1;
  EXPECT_EQ(form->ResultWindow()->ShownDocument().Text(), EngineDocument(path, expected));
  EXPECT_EQ(form->ResultWindow()->windowTitle(),
            QStringLiteral("1:1  Colored  High-Quality  Size-Minimized"));
  EXPECT_TRUE(dialogs.Warnings().empty());
}

TEST_F(EncodeCommandTest, RunsWithTheChosenValues) {
  const QString path = WritePicture(QStringLiteral("p.bmp"), GradientImage(37, 23));
  Open(path);
  for (const char* command : {"mnuBW", "mnuSize4", "mnuBWFractal", "mnuBWColorized",
                              "mnuBWSmoothTransition", "mnuColoredLoQu"}) {
    Trigger(command);
  }
  EncodeAndWait();
  EncodeOptions expected;
  expected.BW = -1;
  expected.Ratio = 4;
  expected.Colorized = -1;
  expected.HighQuality = 0;
  expected.MinimizeSize = -1;
  expected.BWEncoding = 3;
  expected.BWSmoothTransition = 0;
  EXPECT_EQ(form->ResultWindow()->ShownDocument().Text(), EngineDocument(path, expected));
  EXPECT_EQ(form->ResultWindow()->windowTitle(), QStringLiteral("2:1  B&W  Fractal  Colorized"));
}

TEST_F(EncodeCommandTest, ShowsTheBusyPointerWhileItRunsAndRestoresIt) {
  Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(20, 20)));
  Qt::CursorShape during = Qt::ArrowCursor;
  // Runs in the one pass of pending events before the run.
  QTimer::singleShot(0, form.get(), [&] { during = form->cursor().shape(); });
  EncodeAndWait();
  EXPECT_EQ(during, Qt::WaitCursor);
  EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

// A click on "Encode!" that the window system delivers while a run starts is handled after the
// run: the run lets painting happen first, not the user's input.
TEST_F(EncodeCommandTest, AClickQueuedAtTheStartOfARunWaitsForItsEnd) {
  Open(WritePicture(QStringLiteral("p.bmp"), GradientImage(20, 20)));
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

TEST_F(EncodeCommandTest, EncodeAndSaveWriteTheBytesOfTheCommandLine) {
  struct Case {
    std::vector<const char*> commands;
    QStringList arguments;
  };
  // The commands of a case add to those of the cases before it.
  const std::vector<Case> cases = {
      {{}, {}},
      {{"mnuBW"}, {QStringLiteral("--bw")}},
      {{"mnuColored", "mnuSize3", "mnuColoredLoQu", "mnuMinimizeSize"},
       {QStringLiteral("--size=3:2"), QStringLiteral("--quality=low"),
        QStringLiteral("--no-minimize")}},
      {{"mnuColoredHiQu", "mnuPixelFont"},
       {QStringLiteral("--size=3:2"), QStringLiteral("--no-minimize"),
        QStringLiteral("--pixel-font")}},
  };
  Open(kSample);
  int n = 0;
  for (const Case& c : cases) {
    for (const char* command : c.commands) Trigger(command);
    EncodeAndWait();
    const QString saved = Path(QStringLiteral("gui%1.html").arg(n));
    SaveAs(saved);
    const QByteArray expected =
        CommandLineOutput(kSample, c.arguments, Path(QStringLiteral("cli%1.html").arg(n++)));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(ReadAll(saved), expected) << c.arguments.join(u' ').toStdString();
  }
}

TEST_F(EncodeCommandTest, WithAPageWidthAndASelectionBothProgramsWriteTheSameBytes) {
  // 1000 x 872 pixels: a page 400 wide is decoded at half the size, then averaged down.
  const QString photo = QStringLiteral(STIPPLOR_SOURCE_DIR "/samples/hubble.jpg");
  Open(photo);
  Trigger("mnuPageWidth400");
  EncodeAndWait();
  EXPECT_EQ(form->ResultWindow()->windowTitle(),
            QStringLiteral("1:1  Colored  High-Quality  Size-Minimized  Width-400"));
  SaveAs(Path(QStringLiteral("gui0.html")));
  EXPECT_EQ(
      ReadAll(Path(QStringLiteral("gui0.html"))),
      CommandLineOutput(photo, {QStringLiteral("--width=400")}, Path(QStringLiteral("cli0.html"))));

  auto* pic = form->PictureWindow()->findChild<QLabel*>(QStringLiteral("Pic"));
  QTest::mousePress(pic, Qt::LeftButton, {}, {10, 20});
  QTest::mouseEvent(QTest::MouseMove, pic, Qt::NoButton, {}, {410, 320});
  QTest::mouseRelease(pic, Qt::LeftButton, {}, {410, 320});
  // 400 cells across at 1:2, scaled to 200.
  Trigger("mnuSize1");
  EncodeAndWait();
  SaveAs(Path(QStringLiteral("gui1.html")));
  EXPECT_EQ(ReadAll(Path(QStringLiteral("gui1.html"))),
            CommandLineOutput(photo,
                              {QStringLiteral("--width=400"), QStringLiteral("--size=1:2"),
                               QStringLiteral("--region=10,20,400,300")},
                              Path(QStringLiteral("cli1.html"))));
}

TEST_F(EncodeCommandTest, AsksBeforeAPageOfMoreCellsThanBrowsersShow) {
  QImage black(1001, 1000, QImage::Format_RGB32);
  black.fill(Qt::black);
  Trigger("mnuSize1");
  Trigger("mnuBW");
  // 1000 x 1000 cells are within the limit: no question.
  Open(WritePicture(QStringLiteral("within.bmp"), black.copy(0, 0, 1000, 1000)));
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Open);

  Open(WritePicture(QStringLiteral("beyond.bmp"), black));
  struct Case {
    int answer;
    const char* width;  // the table's width on the page; none: no run
    QString caption;
  };
  const Case cases[] = {
      {2, nullptr, QString()},
      {1, " width=2002 ", QStringLiteral("1:2  B&W  Dotted  Grey")},
      {0, " width=1600 ", QStringLiteral("1:2  B&W  Dotted  Grey  Width-1600")},
  };
  for (const Case& c : cases) {
    const std::string before = form->ResultWindow()->ShownDocument().Text();
    dialogs.choices.push_back(c.answer);
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
    EXPECT_EQ(form->ResultWindow()->windowTitle(), c.caption);
  }
}

TEST_F(EncodeCommandTest, AFailedRunIsReportedAndTheProgramGoesOn) {
  // 2 x 20000 table cells leave the 16-bit range.
  Open(WritePicture(QStringLiteral("wide.bmp"), GradientImage(20000, 2)));
  Trigger("mnuSize1");
  Qt::CursorShape atMessage = Qt::WaitCursor;
  dialogs.onShow = [&] { atMessage = form->cursor().shape(); };
  Trigger("mnuEncode");
  dialogs.onShow = nullptr;
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Overflow")});
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(atMessage, Qt::ArrowCursor);
  EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(Item("mnuSave")->isEnabled());
  EXPECT_FALSE(ResultSubWindow()->isVisible());
  EXPECT_EQ(form->ResultWindow()->windowTitle(), QStringLiteral("RuvaDev"));

  // A picture that fits encodes as usual afterwards.
  Open(WritePicture(QStringLiteral("small.bmp"), GradientImage(20, 20)));
  EncodeAndWait();
  EXPECT_TRUE(Item("mnuSave")->isEnabled());
  EXPECT_EQ(dialogs.Warnings().size(), 1U);
}

TEST_F(EncodeCommandTest, AFailedRunKeepsThePreviousResult) {
  Open(WritePicture(QStringLiteral("small.bmp"), GradientImage(20, 20)));
  EncodeAndWait();
  const std::string before = form->ResultWindow()->ShownDocument().Text();
  const QString caption = form->ResultWindow()->windowTitle();
  Open(WritePicture(QStringLiteral("wide.bmp"), GradientImage(20000, 2)));
  Trigger("mnuSize1");
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Overflow")});
  EXPECT_EQ(form->ResultWindow()->ShownDocument().Text(), before);
  EXPECT_EQ(form->ResultWindow()->windowTitle(), caption);
  EXPECT_TRUE(Item("mnuSave")->isEnabled());
}

}  // namespace
}  // namespace stipplor::testing
