// The main window: the option items, the keys, opening a picture, "Encode!" against the command
// line, the Window menu and tiling.

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <array>

#include "shell/tiling.h"
#include "tests/support/gui/app_fixture.h"
#include "tests/support/run_program.h"

namespace stipplor::testing {
namespace {

using ShellTest = AppFixture;

TEST_F(ShellTest, EachOptionItemStoresItsValueAndMovesItsMark) {
  // The seven as Encode takes them: BW, Ratio, Colorized, HighQuality, MinimizeSize, BWEncoding,
  // BWSmoothTransition.
  const EncodeOptions o = form->Options().ForEncode();
  EXPECT_EQ((std::array{o.BW, o.Ratio, o.Colorized, o.HighQuality, o.MinimizeSize, o.BWEncoding,
                        o.BWSmoothTransition}),
            (std::array<Int16, 7>{0, 2, 0, -1, -1, 2, -1}));
  // The marks show the options; the rows apply in turn.
  const char* start =
      "BWDotted BWGrey BWSmoothTransition Colored ColoredHiQu MinimizeSize PageWidthPicture Size2";
  const std::pair<std::vector<const char*>, const char*> rows[] = {
      {{}, start},
      {{"mnuSize1", "mnuBW", "mnuBWPlain", "mnuBWColorized", "mnuBWSmoothTransition",
        "mnuColoredLoQu", "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidth800"},
       "BW BWColorized BWPlain ColoredLoQu PageWidth800 PixelFont Size1"},
      {{"mnuSize3", "mnuBWPattern", "mnuPageWidth1600"},
       "BW BWColorized BWPattern ColoredLoQu PageWidth1600 PixelFont Size3"},
      {{"mnuSize4", "mnuSize4", "mnuBWFractal", "mnuColored", "mnuPageWidth1200"},
       "BWColorized BWFractal Colored ColoredLoQu PageWidth1200 PixelFont Size4"},
      {{"mnuSize2", "mnuBWDotted", "mnuBWGrey", "mnuBWSmoothTransition", "mnuColoredHiQu",
        "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidthPicture"},
       start},
  };
  for (const auto& [items, expected] : rows) {
    for (const char* item : items) Trigger(item);
    QStringList marks;
    for (const QAction* item : form->findChildren<QAction*>()) {
      if (item->isChecked()) marks << item->objectName().mid(3);
    }
    marks.sort();
    EXPECT_EQ(marks.join(u' ').toStdString(), expected);
  }
}

TEST_F(ShellTest, TheCommandsAnswerTheirKeysWhereverTheFocusIs) {
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  test::Gradient(20, 10).save(Path("p.bmp"));
  dialogs.files = {Path("p.bmp")};
  for (const auto& [keys, item] : {std::pair{"Ctrl+O", "mnuFileOpen"},
                                   {"Ctrl+E", "mnuEncode"},
                                   {"F5", "mnuEncode"},
                                   {"Ctrl+S", "mnuSave"},
                                   {"Ctrl+Shift+S", "mnuSave"},
                                   {"Ctrl+Q", "mnuFileExit"}}) {
    // Keys go to the focus widget, the page's view once it shows; the view hands back those its
    // page does not use a moment later.
    form->ResultWindow()->WebBrowser1->setFocus();
    QSignalSpy triggered(Item(item), &QAction::triggered);
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(),
                       QKeySequence(keys));
    EXPECT_TRUE(triggered.count() > 0 || triggered.wait(20000)) << keys;
  }
  EXPECT_FALSE(form->isVisible());
}

TEST_F(ShellTest, OpensAPictureDroppedOrFromTheMenuAndReportsARefusedOne) {
  const auto drop = [this](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter({}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent drop({}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form.get(), &drop);
  };
  test::Gradient(33, 22).save(Path("p.bmp"));
  drop({QUrl::fromLocalFile(Path("p.bmp")), QUrl::fromLocalFile(Path("p.bmp"))});  // not one
  EXPECT_TRUE(dialogs.calls.empty());
  drop({QUrl::fromLocalFile(Path("missing.bmp"))});
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_FALSE(Item("mnuEncode")->isEnabled());
  // A Latin-1 name opens from the bytes of its URL; the caption shows the byte as \xE9.
  ASSERT_EQ(::rename((folder / "p.bmp").c_str(), (folder / "caf\xE9.bmp").c_str()), 0);
  drop({QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(Path("caf"), "/") + "%E9.bmp")});
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path("caf\\xE9.bmp"));
  Trigger("mnuFileOpen");  // cancelled
  const QStringList filter = dialogs.calls.back().text.split(u'|');
  ASSERT_EQ(filter.size(), 4);
  EXPECT_EQ(filter[0], filter[1]);
  EXPECT_EQ(filter[3], QStringLiteral("*.*"));
  for (const char* name : {"a.bmp", "a.dib", "a.gif", "a.jpg", "a.jpeg", "a.jpe", "a.jfif"}) {
    EXPECT_TRUE(QDir::match(filter[1].split(u';'), name)) << name;
  }
  const QString good = OpenPicture(40, 30);
  Open(Path("missing.bmp"));
  EXPECT_EQ(dialogs.warnings, std::vector<QString>(2, QStringLiteral("Invalid Picture File !")));
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(form->PictureWindow()->windowTitle(), good);
  EXPECT_EQ(form->PictureWindow()->picture().Width(), 40);
}

TEST_F(ShellTest, EncodeAndSaveWriteTheBytesOfTheCommandLine) {
  // 1000 x 872 pixels: a page 400 wide is decoded at half the size, then averaged down.
  const std::string hubble = STIPPLOR_SOURCE_DIR "/samples/hubble.jpg";
  Open(QString::fromStdString(hubble));
  Trigger("mnuPageWidth400");
  std::string encodedOnChange;
  for (const std::string n : {"all", "selection"}) {
    std::vector<std::string> arguments = {"--width=400", hubble, "-o", folder / n};
    if (n == "selection") {          // at 1:2, from (10, 20) to (410, 320)
      Trigger("mnuEncodeOnChange");  // the size, then the selection, run at once
      Trigger("mnuSize1");
      EXPECT_TRUE(form->ResultWindow()->windowTitle().startsWith("1:2"));
      auto* pic = form->PictureWindow()->findChild<QLabel*>("Pic");
      QTest::mousePress(pic, Qt::LeftButton, {}, {10, 20});
      QTest::mouseMove(pic, {410, 320});
      QTest::mouseRelease(pic, Qt::LeftButton, {}, {410, 320});
      QCoreApplication::processEvents();
      encodedOnChange = form->ResultWindow()->ShownDocument().Text();
      arguments.insert(arguments.begin(), {"--size=1:2", "--region=10,20,400,300"});
    }
    EncodeAndWait();
    EXPECT_TRUE(n == "all" || form->ResultWindow()->ShownDocument().Text() == encodedOnChange);
    SaveAs(Path(n + ".html"));
    ASSERT_EQ(test::RunEncoder(arguments).exitCode, 0);
    EXPECT_EQ(test::ReadFile(folder / (n + ".html")), test::ReadFile(folder / n));
  }
  EXPECT_TRUE(form->PictureWindow()->Selection().Shown);  // shown again after the run
}

TEST_F(ShellTest, AsksBeforeAPageOfMoreCellsThanBrowsersShowAndReportsAFailedRun) {
  QImage black(1001, 1000, QImage::Format_RGB32);
  black.fill(Qt::black);
  Trigger("mnuSize1");
  Trigger("mnuBW");
  // 1000 x 1000 cells are within the limit: no question.
  ASSERT_TRUE(black.copy(0, 0, 1000, 1000).save(Path("within.bmp")));
  Open(Path("within.bmp"));
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.calls.size(), 1U);
  ASSERT_TRUE(black.save(Path("beyond.bmp")));
  Open(Path("beyond.bmp"));
  const struct {
    int answer;
    const char* caption;
    const char* width;  // the table's width on the page
  } cases[] = {
      {2, "1:2  B&W  Dotted  Grey", " width=2000 "},  // cancelled: the previous page stays
      {1, "1:2  B&W  Dotted  Grey", " width=2002 "},
      {0, "1:2  B&W  Dotted  Grey  Width-1600", " width=1600 "},
  };
  for (const auto& c : cases) {
    dialogs.answers = {c.answer};
    Trigger("mnuEncode");
    EXPECT_EQ(form->ResultWindow()->windowTitle().toStdString(), c.caption);
    EXPECT_NE(form->ResultWindow()->ShownDocument().Text().find(c.width), std::string::npos);
  }
  EXPECT_EQ(dialogs.calls.back().text,
            "This page would have 1,001,000 cells, about 4 MB. The result window shows it, but a "
            "browser opening the saved page holds it whole and shows pages of up to about "
            "1,000,000 cells.\rEncode it scaled to a page width of 1600 pixels, at full size "
            "anyway, or not at all?");
  EXPECT_EQ(dialogs.calls.back().buttons,
            QStringList({"Scale to 1600 Pixels", "Full Size", "Cancel"}));

  // 2 x 20000 colored table cells leave the 16-bit range: a run that fails keeps the page.
  Trigger("mnuColored");
  OpenPicture(20000, 2);
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.calls.back().text, QStringLiteral("Overflow"));
  EXPECT_EQ(form->ResultWindow()->windowTitle(),
            QStringLiteral("1:2  B&W  Dotted  Grey  Width-1600"));
  EXPECT_NE(form->ResultWindow()->ShownDocument().Text().find(" width=1600 "), std::string::npos);
}

// A click on "Encode!" that the window system delivers while a run starts is handled after the
// run: the run lets painting happen first, not the user's input.
TEST_F(ShellTest, AClickQueuedAtTheStartOfARunWaitsForItsEnd) {
  OpenPicture(20, 20);
  const QPointF at = form->menuBar()->actionGeometry(Item("mnuEncode")).center();
  int runs = 0;
  QObject::connect(Item("mnuEncode"), &QAction::triggered, form.get(), [&runs] { ++runs; });
  for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        form->windowHandle(), at, form->mapToGlobal(at),
        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
  }
  Trigger("mnuEncode");
  EXPECT_EQ(runs, 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 2);
}

TEST(TilingTest, PlacesTheShownWindowsInTwipsAndRoundsToPixels) {
  using C = TileCommand;
  const struct {
    C command;
    bool p, t;
    std::optional<TwipRect> picture, result;
  } cases[] = {
      {C::Horizontally, true, true, TwipRect{0, 0, 6000, 2000.5},
       TwipRect{0, 2000.5, 6000, 1999.5}},
      {C::Vertically, true, true, TwipRect{0, 0, 3000, 4001}, TwipRect{3000, 0, 2999, 4001}},
      {C::Horizontally, true, false, TwipRect{0, 0, 6000, 4001}, std::nullopt},
      {C::Vertically, false, true, std::nullopt, TwipRect{0, 0, 6000, 4001}},
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

TEST_F(ShellTest, TheWindowMenuFollowsTheChildWindowsAndTilingPlacesThem) {
  QMdiArea* area = form->ClientArea();
  const int w = area->viewport()->width(), h = area->viewport()->height(), top = (h + 1) / 2;
  const auto tile = [this](const char* item) {
    PictureSubWindow()->showMaximized();  // tiling restores minimised and maximised windows
    ResultSubWindow()->showMinimized();
    Trigger(item);
  };
  // Each step; then the items Encode, Save, Tile Horizontally, Tile Vertically, Picture and
  // RuvaDev (h hidden, - disabled, e enabled, c checked), the active window (p, r; a hidden one
  // stays active), and where tiling put the windows.
  const struct {
    std::function<void()> step;
    const char* states;
    QRect picture{}, result{};
  } steps[] = {
      {[&] { form->ResultWindow()->Form_Activate(); }, "----hhr"},  // hidden: not listed
      {[&] { OpenPicture(64, 48); }, "e-eechp"},
      {[&] { EncodeAndWait(); }, "eeeeecr"},
      {[&] { Trigger("mnuPicture"); }, "eeeecep"},
      {[&] { Trigger("mnuRuvaDev"); }, "eeeeecr"},
      {[&] { tile("mnuTileHorizontally"); }, "eeeeecr", {0, 0, w, top}, {0, top, w, h - top}},
      {[&] { ResultSubWindow()->close(); }, "e-eeehr"},  // it only hides
      {[&] { Trigger("mnuTileVertically"); }, "e-eeehr", {0, 0, w, h}},
      {[&] { EncodeAndWait(); }, "eeeeecr"},
      {[&] { PictureSubWindow()->close(), DeleteClosedWindows(); }, "-eeehcr"},
      {[&] { Trigger("mnuTileHorizontally"); }, "-eeehcr", {}, {0, 0, w, h}},
      {[&] { ResultSubWindow()->close(); }, "----hhr"},
  };
  for (const auto& c : steps) {
    c.step();
    std::string s;
    for (const char* name : {"mnuEncode", "mnuSave", "mnuTileHorizontally", "mnuTileVertically",
                             "mnuPicture", "mnuRuvaDev"}) {
      const QAction* item = Item(name);
      s += !item->isVisible() ? 'h' : item->isChecked() ? 'c' : item->isEnabled() ? 'e' : '-';
    }
    s += area->activeSubWindow()->widget() == form->ResultWindow() ? 'r' : 'p';
    EXPECT_EQ(s, c.states) << &c - steps;
    EXPECT_TRUE(c.picture.isNull() || PictureSubWindow()->geometry() == c.picture) << &c - steps;
    EXPECT_TRUE(c.result.isNull() || ResultSubWindow()->geometry() == c.result) << &c - steps;
  }
  EXPECT_EQ(form->StatusPanel(1) + form->StatusPanel(2), QString());  // the picture window closed
  // Closing the main window closes the hidden result window for real, asking nothing.
  const QPointer<TextForm> result = form->ResultWindow();
  Trigger("mnuFileExit");
  DeleteClosedWindows();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(result.isNull());
  EXPECT_TRUE(dialogs.warnings.empty());
}

}  // namespace
}  // namespace stipplor::testing
