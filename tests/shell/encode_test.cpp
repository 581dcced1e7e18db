// "Encode!": the run with the seven option values, the result window, the command-line twin.

#include "engine/encode.h"

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QMenuBar>
#include <QTimer>

#include "engine/html_document.h"
#include "picture_io/load_picture.h"
#include "tests/gui_support/app_fixture.h"

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
