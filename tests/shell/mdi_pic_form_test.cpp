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
  // The rows apply in turn. Values: the seven as Encode takes them (BW, Ratio, Colorized,
  // HighQuality, MinimizeSize, BWEncoding, BWSmoothTransition), the pixel font, the page width.
  const char* start =
      "BWDotted BWGrey BWSmoothTransition Colored ColoredHiQu MinimizeSize PageWidthPicture Size2";
  const struct {
    std::vector<const char*> items;
    std::array<int, 9> values;
    const char* marks;  // the checked items, without "mnu"
  } rows[] = {
      {{}, {0, 2, 0, -1, -1, 2, -1, 0, 0}, start},
      {{"mnuSize1", "mnuBW", "mnuBWPlain", "mnuBWColorized", "mnuBWSmoothTransition",
        "mnuColoredLoQu", "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidth800"},
       {-1, 1, -1, 0, 0, 0, 0, 1, 800},
       "BW BWColorized BWPlain ColoredLoQu PageWidth800 PixelFont Size1"},
      {{"mnuSize3", "mnuBWPattern", "mnuPageWidth1600"},
       {-1, 3, -1, 0, 0, 1, 0, 1, 1600},
       "BW BWColorized BWPattern ColoredLoQu PageWidth1600 PixelFont Size3"},
      {{"mnuSize4", "mnuSize4", "mnuBWFractal", "mnuColored", "mnuPageWidth1200"},
       {0, 4, -1, 0, 0, 3, 0, 1, 1200},
       "BWColorized BWFractal Colored ColoredLoQu PageWidth1200 PixelFont Size4"},
      {{"mnuSize2", "mnuBWDotted", "mnuBWGrey", "mnuBWSmoothTransition", "mnuColoredHiQu",
        "mnuMinimizeSize", "mnuPixelFont", "mnuPageWidthPicture"},
       {0, 2, 0, -1, -1, 2, -1, 0, 0},
       start},
  };
  for (const auto& row : rows) {
    for (const char* item : row.items) Trigger(item);
    const EncodeOptions o = form->Options().ForEncode();
    EXPECT_EQ(
        (std::array<int, 9>{o.BW, o.Ratio, o.Colorized, o.HighQuality, o.MinimizeSize, o.BWEncoding,
                            o.BWSmoothTransition, o.PixelFont, form->Options().PageWidth}),
        row.values);
    QStringList marks;
    for (const QAction* item : form->findChildren<QAction*>()) {
      if (item->isChecked()) marks << item->objectName().mid(3);
    }
    marks.sort();
    EXPECT_EQ(marks.join(u' ').toStdString(), row.marks);
  }
}

TEST_F(ShellTest, TheCommandsAnswerTheirKeysWhereverTheFocusIs) {
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  // Keys go to the focus widget; the result window's view hands back those its page does not
  // use a moment later, so each effect is waited for.
  const auto press = [this](const char* keys, const std::function<bool()>& reached) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus != nullptr ? focus : form.get(), QKeySequence(keys));
    return QTest::qWaitFor(reached, 5000);
  };
  test::Gradient(20, 10).save(Path("p.bmp"));
  dialogs.files = {Path("p.bmp")};
  ASSERT_TRUE(press("Ctrl+O", [this] { return form->PictureWindow() != nullptr; }));
  QSignalSpy loaded(form->ResultWindow()->WebBrowser1, &QWebEngineView::loadFinished);
  for (const char* keys : {"Ctrl+E", "F5"}) {
    ResultSubWindow()->hide();
    EXPECT_TRUE(press(keys, [this] { return ResultSubWindow()->isVisible(); })) << keys;
  }
  ASSERT_TRUE(loaded.count() > 0 || loaded.wait(20000));
  form->ResultWindow()->WebBrowser1->setFocus();
  for (const char* keys : {"Ctrl+S", "Ctrl+Shift+S"}) {
    dialogs.calls.clear();
    EXPECT_TRUE(press(keys, [this] { return !dialogs.calls.empty(); })) << keys;
  }
  EXPECT_TRUE(press("Ctrl+Q", [this] { return !form->isVisible(); }));
}

TEST_F(ShellTest, OpenOffersEveryPictureNameAndARefusedFileChangesNoWindow) {
  Trigger("mnuFileOpen");  // cancelled
  const QStringList filter = dialogs.calls.at(0).text.split(u'|');
  ASSERT_EQ(filter.size(), 4);
  EXPECT_EQ(filter[0], filter[1]);
  EXPECT_EQ(filter[3], QStringLiteral("*.*"));
  for (const char* name : {"a.bmp", "a.dib", "a.gif", "a.jpg", "a.jpeg", "a.jpe", "a.jfif"}) {
    EXPECT_TRUE(QDir::match(filter[1].split(u';'), name)) << name;
  }
  Open(Path("missing.bmp"));
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_FALSE(Item("mnuEncode")->isEnabled());
  const QString good = OpenPicture(40, 30);
  Open(Path("missing.bmp"));
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>(2, QStringLiteral("Invalid Picture File !")));
  EXPECT_EQ(dialogs.calls.back().title, QStringLiteral("Stipplor"));
  EXPECT_EQ(form->PictureWindow()->windowTitle(), good);
  EXPECT_EQ(form->PictureWindow()->picture().Width(), 40);
}

TEST_F(ShellTest, OneDroppedFileOpensEvenWithANameThatIsNoUtf8) {
  const auto drop = [this](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter({}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form.get(), &enter);
    QDropEvent drop({}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(form.get(), &drop);
  };
  test::Gradient(33, 22).save(Path("p.bmp"));
  drop({QUrl::fromLocalFile(Path("p.bmp")), QUrl::fromLocalFile(Path("p.bmp"))});
  drop({QUrl(QStringLiteral("http://localhost/p.bmp"))});
  drop({});
  EXPECT_TRUE(dialogs.calls.empty());
  drop({QUrl::fromLocalFile(Path("missing.bmp"))});
  EXPECT_EQ(dialogs.Warnings(), std::vector<QString>{QStringLiteral("Invalid Picture File !")});
  // A Latin-1 name opens from the bytes of its URL; the caption shows the byte as \xE9.
  ASSERT_EQ(::rename((folder / "p.bmp").c_str(), (folder / "caf\xE9.bmp").c_str()), 0);
  drop({QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(Path("caf"), "/") + "%E9.bmp")});
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path("caf\\xE9.bmp"));
}

TEST_F(ShellTest, EncodeAndSaveWriteTheBytesOfTheCommandLine) {
  const std::string astronaut = STIPPLOR_SOURCE_DIR "/samples/astronaut.jpg";
  // 1000 x 872 pixels: a page 400 wide is decoded at half the size, then averaged down.
  const std::string hubble = STIPPLOR_SOURCE_DIR "/samples/hubble.jpg";
  const struct {
    std::string picture;
    const char* item;  // added to those of the cases before
    std::vector<std::string> arguments;
    bool select = false;  // from (10, 20) to (410, 320)
  } cases[] = {
      {astronaut, "mnuSize2", {}},
      {hubble, "mnuPageWidth400", {"--width=400"}},
      {hubble, "mnuSize1", {"--width=400", "--size=1:2", "--region=10,20,400,300"}, true},
  };
  for (const auto& c : cases) {
    Trigger(c.item);
    Open(QString::fromStdString(c.picture));
    if (c.select) {
      auto* pic = form->PictureWindow()->findChild<QLabel*>("Pic");
      QTest::mousePress(pic, Qt::LeftButton, {}, {10, 20});
      QTest::mouseMove(pic, {410, 320});
      QTest::mouseRelease(pic, Qt::LeftButton, {}, {410, 320});
    }
    EncodeAndWait();
    const std::string n = std::to_string(&c - cases);
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {c.picture, "-o", folder / ("cli" + n)});
    ASSERT_EQ(test::RunEncoder(arguments).exitCode, 0);
    SaveAs(Path("gui" + n + ".html"));
    EXPECT_EQ(test::ReadFile(folder / ("gui" + n + ".html")), test::ReadFile(folder / ("cli" + n)));
  }
  // The run over the selection shows it again.
  EXPECT_TRUE(form->PictureWindow()->Selection().Shown);
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
  EXPECT_EQ(dialogs.calls.back().kind, ScriptedDialogs::Kind::Open);
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
            "This page would have 1,001,000 cells, about 4 MB; browsers show pages of up to about "
            "1,000,000 cells.\rEncode it scaled to a page width of 1600 pixels, at full size "
            "anyway, or not at all?");
  EXPECT_EQ(dialogs.calls.back().buttons,
            QStringList({"Scale to 1600 Pixels", "Full Size", "Cancel"}));

  // 2 x 20000 colored table cells leave the 16-bit range: a run that fails keeps the page.
  Trigger("mnuColored");
  OpenPicture(20000, 2);
  Qt::CursorShape atMessage = Qt::WaitCursor;
  dialogs.onShow = [&] { atMessage = form->cursor().shape(); };
  Trigger("mnuEncode");
  EXPECT_EQ(dialogs.calls.back().text, QStringLiteral("Overflow"));
  EXPECT_EQ(atMessage, Qt::ArrowCursor);
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
  QMdiArea* area = form->ClientArea();
  const QPointer<TextForm> result = form->ResultWindow();
  result->Form_Activate();  // hidden, it does not list itself
  EXPECT_EQ(states(), "----hh");
  OpenPicture(2000, 100);
  EXPECT_EQ(states(), "e-eech");
  EncodeAndWait();
  EXPECT_EQ(states(), "eeeeec");
  Trigger("mnuPicture");
  EXPECT_EQ(states() + (area->activeSubWindow() == PictureSubWindow() ? "p" : ""), "eeeecep");
  Trigger("mnuRuvaDev");
  EXPECT_EQ(states() + (area->activeSubWindow() == ResultSubWindow() ? "r" : ""), "eeeeecr");
  // Tiling restores minimised and maximised windows and keeps the active one.
  const QSize size = area->viewport()->size();
  const int top = (size.height() + 1) / 2;
  const int left = (size.width() + 1) / 2;
  PictureSubWindow()->showMaximized();
  ResultSubWindow()->showMinimized();
  QMdiSubWindow* active = area->activeSubWindow();
  Trigger("mnuTileHorizontally");
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(0, 0, size.width(), top));
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(0, top, size.width(), size.height() - top));
  EXPECT_EQ(area->activeSubWindow(), active);
  Trigger("mnuTileVertically");
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(0, 0, left, size.height()));
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(left, 0, size.width() - left, size.height()));
  // The picture window lays itself out again.
  EXPECT_EQ(form->PictureWindow()->findChild<QWidget*>("HScroll1")->width(),
            form->PictureWindow()->width());
  // The result window only hides; alone, a window fills the client area.
  ResultSubWindow()->close();
  EXPECT_EQ(states(), "e-eeeh");
  Trigger("mnuTileVertically");
  EXPECT_EQ(PictureSubWindow()->geometry(), QRect(QPoint(), size));
  EncodeAndWait();
  EXPECT_EQ(form->ResultWindow(), result.data());
  EXPECT_EQ(states(), "eeeeec");
  PictureSubWindow()->close();
  DeleteClosedWindows();
  EXPECT_EQ(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->StatusPanel(1) + form->StatusPanel(2), QString());
  EXPECT_EQ(states(), "-eeehc");
  Trigger("mnuTileHorizontally");
  EXPECT_EQ(ResultSubWindow()->geometry(), QRect(QPoint(), size));
  ResultSubWindow()->close();
  EXPECT_EQ(states(), "----hh");
  // Closing the main window closes the hidden result window for real, asking nothing.
  Trigger("mnuFileExit");
  DeleteClosedWindows();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(result.isNull());
  EXPECT_TRUE(dialogs.Warnings().empty());
}

}  // namespace
}  // namespace stipplor::testing
