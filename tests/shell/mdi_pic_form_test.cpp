// The main window: the option items, the keys, opening a picture, "Encode!" against the command
// line, the Window menu and tiling.

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <array>
#include <filesystem>

#include "app/start_file.h"
#include "picture_io/file_names.h"
#include "shell/page_guard.h"
#include "shell/recent_pictures.h"
#include "shell/tiling.h"
#include "tests/support/gui/app_fixture.h"
#include "tests/support/run_program.h"

namespace stipplor::testing {
namespace {

using ShellTest = AppFixture;

TEST_F(ShellTest, EachOptionItemStoresItsValueAndMovesItsMark) {
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
      {{"mnuSize3", "mnuBWPattern", "mnuPageWidth1600", "mnuPageWidthFit"},
       "BW BWColorized BWPattern ColoredLoQu PageWidthFit PixelFont Size3"},
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
  QGuiApplication::clipboard()->setImage(test::Gradient(20, 10));
  const char* const pairs[] = {"Ctrl+O",       "mnuFileOpen", "Ctrl+V",       "mnuPastePicture",
                               "Ctrl+E",       "mnuEncode",   "F5",           "mnuEncode",
                               "Ctrl+S",       "mnuSave",     "Ctrl+Shift+S", "mnuSave",
                               "Ctrl+Shift+C", "mnuCopyPage", "Ctrl+Q",       "mnuFileExit"};
  for (std::size_t i = 0; i < std::size(pairs); i += 2) {  // the keys, then the item
    const char *keys = pairs[i], *item = pairs[i + 1];
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

TEST_F(ShellTest, OpensAPictureDroppedFromTheMenuOrRecentPicturesAndReportsARefusedOne) {
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
  EXPECT_EQ(dialogs.calls.back().informative, Path("missing.bmp") + ": no such file");
  EXPECT_TRUE(form->PictureWindow() == nullptr && !Item("mnuEncode")->isEnabled());
  // A Latin-1 name opens from the bytes of its URL; the caption shows the byte as \xE9.
  ASSERT_EQ(::rename((folder / "p.bmp").c_str(), (folder / "caf\xE9.bmp").c_str()), 0);
  drop({QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(Path("caf"), "/") + "%E9.bmp")});
  ASSERT_NE(form->PictureWindow(), nullptr);
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path("caf\\xE9.bmp"));
  Trigger("mnuFileOpen");  // cancelled
  const QStringList filter = dialogs.calls.back().text.split(u'|');
  EXPECT_EQ(filter, QStringList({filter[0], filter[0], "*.*", "*.*"}));
  const QString good = OpenPicture(40, 30);
  test::WriteFile(folder / "text.jpg", "not a picture\n");
  Open(Path("text.jpg"));
  EXPECT_EQ(dialogs.warnings, std::vector<QString>(2, QStringLiteral("Invalid Picture File !")));
  EXPECT_EQ(dialogs.calls.back().informative,
            Path("text.jpg") + ": not a picture file (unsupported or damaged)");
  EXPECT_EQ(form->PictureWindow()->windowTitle(), good);  // the picture shown stays
  // So does one named at start, `stipplor FILE`, as the desktop entry's %f gives it.
  std::string name = folder / "caf\xE9.bmp";
  char* argv[] = {name.data(), name.data()};
  OpenStartFile(*form, {QString::fromLocal8Bit(name.c_str())}, 2, argv);
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path("caf\\xE9.bmp"));
  // The pictures opened come back in the next run, newest first; a pasted one has no file.
  QGuiApplication::clipboard()->setImage(test::Gradient(4, 4));
  Trigger("mnuPastePicture");
  form = std::make_unique<MDIPicForm>(dialogs);
  EXPECT_EQ(Item("mnuRecent1")->text(), "&1 " + Path("caf\\xE9.bmp"));
  EXPECT_EQ(Item("mnuRecent2")->text(), "&2 " + good);
  EXPECT_FALSE(Item("mnuRecent3")->isVisible());
  Trigger("mnuRecent1");
  EXPECT_EQ(form->PictureWindow()->windowTitle(), Path("caf\\xE9.bmp"));
  std::filesystem::remove(folder / "p.bmp");
  Trigger("mnuRecent2");  // a missing one goes with a warning
  EXPECT_EQ(dialogs.warnings.back(),
            good + " no longer exists; it is removed from the recent pictures.");
  EXPECT_FALSE(Item("mnuRecent2")->isVisible());
}

TEST_F(ShellTest, PastesAPictureAndHandsThePageOnInTheBytesSaveAsWrites) {
  // A stand-in xdg-open on the PATH records the URL it is given.
  test::WriteFile(folder / "xdg-open",
                  QByteArray::fromStdString("#!/bin/sh\necho \"$1\" >>" + folder / "urls\n"));
  std::filesystem::permissions(folder / "xdg-open", std::filesystem::perms::owner_all);
  qputenv("PATH", QByteArray::fromStdString(folder.Path() + ":") + qgetenv("PATH"));
  test::WriteFile(folder / "urls", "");
  const auto url = [this](int n) {  // the n-th URL opened
    EXPECT_TRUE(QTest::qWaitFor([&] { return test::ReadFile(folder / "urls").count('\n') >= n; }));
    return test::ReadFile(folder / "urls").split('\n').value(n - 1);
  };
  QClipboard* clipboard = QGuiApplication::clipboard();
  test::Gradient(40, 30).save(Path("p.bmp"));
  auto* png = new QMimeData;  // as a browser's "Copy Image" or a screenshot tool gives it
  png->setData(QStringLiteral("image/png"), test::Encoded(test::Gradient(30, 20), "PNG"));
  auto* copied = new QMimeData;  // as a file manager copies a file
  copied->setUrls({QUrl::fromLocalFile(Path("p.bmp"))});
  auto* image = new QMimeData;  // as QClipboard::setImage() puts it
  image->setImageData(test::Gradient(25, 15));
  for (const auto& [data, width, caption] : {std::tuple{png, 30, QString("Pasted picture")},
                                             {copied, 40, Path("p.bmp")},
                                             {image, 25, QString("Pasted picture")}}) {
    clipboard->setMimeData(data);
    Trigger("mnuPastePicture");
    EXPECT_EQ(form->PictureWindow()->picture().Width(), width);
    EXPECT_EQ(form->PictureWindow()->windowTitle(), caption);
  }
  EXPECT_FALSE(Item("mnuCopyPage")->isEnabled());
  EncodeAndWait();
  Trigger("mnuOpenInBrowser");  // not saved yet: a copy for the run
  const QString copy = QUrl::fromEncoded(url(1)).toLocalFile();
  SaveAs(FileNameFromBytes(folder / "caf\xE9.html"));
  EXPECT_EQ(QFileInfo(dialogs.calls.back().fileName).fileName(), QStringLiteral("pasted.html"));
  const QByteArray saved = test::ReadFile(folder / "caf\xE9.html");
  Trigger("mnuOpenInBrowser");
  EXPECT_EQ(url(2), "file://" + QUrl::toPercentEncoding(Path("caf"), "/") + "%E9.html");
  std::filesystem::remove(folder / "caf\xE9.html");  // gone: a copy again
  Trigger("mnuOpenInBrowser");
  EXPECT_EQ(test::ReadFile(QUrl::fromEncoded(url(3)).toLocalFile().toStdString()), saved);
  Trigger("mnuCopyPage");
  for (const char* type : {"text/html", "text/plain"}) {
    EXPECT_EQ(clipboard->mimeData()->data(type), saved) << type;
  }
  EXPECT_FALSE(Item("mnuPastePicture")->isEnabled());  // a page is no picture
  ResultSubWindow()->close();
  EXPECT_FALSE(Item("mnuCopyPage")->isEnabled() || Item("mnuOpenInBrowser")->isEnabled());
  form.reset();  // the program ends, and the copy with it
  EXPECT_FALSE(QFileInfo::exists(copy));
}

TEST(RecentPicturesTest, KeepsEightNamesOnceNewestFirst) {
  RecentPictures recent;
  for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "c"}) recent.Add(name);
  recent.Remove("h");
  EXPECT_EQ(recent.Names(), QStringList({"c", "i", "g", "f", "e", "d", "b"}));
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
      auto* pic = form->PictureWindow()->findChild<QWidget*>("Pic");
      QTest::mousePress(pic, Qt::LeftButton, {}, {10, 20});
      QTest::mouseMove(pic, {410, 320});
      QTest::mouseRelease(pic, Qt::LeftButton, {}, {410, 320});
      QCoreApplication::processEvents();
      encodedOnChange = form->ResultWindow()->ShownDocument().Text();
      arguments.insert(arguments.begin(), {"--size=1:2", "--region=10,20,400,300"});
    }
    EncodeAndWait();
    // The page's cells and size, until the next run.
    EXPECT_EQ(form->StatusPanel(kPanelPage).toStdString(),
              n == "all" ? "34,800 cells, 2 MB" : "30,000 cells, 771 KB");
    EXPECT_TRUE(n == "all" || form->ResultWindow()->ShownDocument().Text() == encodedOnChange);
    SaveAs(Path(n + ".html"));
    ASSERT_EQ(test::RunEncoder(arguments).exitCode, 0);
    EXPECT_EQ(test::ReadFile(folder / (n + ".html")), test::ReadFile(folder / n));
  }
  EXPECT_TRUE(form->PictureWindow()->Selection().Shown);  // shown again after the run
  // Fit 100 KB: the saved file of --max-bytes 100k, the page of --width at the width the caption
  // ends in.
  Trigger("mnuSize2");
  Trigger("mnuPageWidthFit");
  QTest::mouseClick(form->PictureWindow()->findChild<QWidget*>("Pic"), Qt::LeftButton);
  EncodeAndWait();
  const std::string caption = form->ResultWindow()->windowTitle().toStdString();
  const std::string width = caption.substr(caption.rfind('-') + 1);
  EXPECT_EQ(caption, "1:1  Colored  High-Quality  Size-Minimized  Width-" + width);
  SaveAs(Path("fit.html"));
  ASSERT_EQ(test::RunEncoder({"--max-bytes=100k", hubble, "-o", folder / "fit"}).exitCode, 0);
  ASSERT_EQ(test::RunEncoder({"--width=" + width, hubble, "-o", folder / "w"}).exitCode, 0);
  EXPECT_EQ(test::ReadFile(folder / "fit.html"), test::ReadFile(folder / "fit"));
  EXPECT_EQ(test::ReadFile(folder / "fit.html"), test::ReadFile(folder / "w"));
  OpenPicture(64, 48);  // its whole page fits: as wide as the picture
  EncodeAndWait();
  EXPECT_TRUE(form->ResultWindow()->windowTitle().endsWith("Width-64"));
}

TEST_F(ShellTest, AsksBeforeALargePageReportsAFailedRunAndTakesAClickAfterTheRun) {
  Trigger("mnuSize1");
  Trigger("mnuBW");
  // 1000 x 1000 cells are within the limit: no question.
  OpenPicture(1000, 1000);
  // A click on "Encode!" that the window system delivers while a run starts is handled after the
  // run: the run lets painting happen first, not the user's input.
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
  EXPECT_EQ(dialogs.calls.size(), 1U);
  OpenPicture(1001, 1000);
  // The answer, then the caption and the table's width on the page; a failed run keeps the page.
  const auto run = [this](int answer, const std::string& caption, const char* width) {
    dialogs.answers = {answer};
    Trigger("mnuEncode");
    EXPECT_EQ(form->ResultWindow()->windowTitle().toStdString(), caption);
    EXPECT_NE(form->ResultWindow()->ShownDocument().Text().find(width), std::string::npos);
  };
  run(2, "1:2  B&W  Dotted  Grey", " width=2000 ");  // cancelled: the previous page stays
  run(1, "1:2  B&W  Dotted  Grey", " width=2002 ");
  run(0, "1:2  B&W  Dotted  Grey  Width-1600", " width=1600 ");
  EXPECT_EQ(dialogs.calls.back().text,
            "This page would have 1,001,000 cells, about 4 MB. The result window shows it, but a "
            "browser opening the saved page holds it whole and shows pages of up to about "
            "1,000,000 cells.\rEncode it scaled to a page width of 1600 pixels, at full size "
            "anyway, or not at all?");
  EXPECT_EQ(dialogs.calls.back().buttons,
            QStringList({"Scale to 1600 Pixels", "Full Size", "Cancel"}));

  // 2 x 20000 colored table cells leave the 16-bit range.
  Trigger("mnuColored");
  OpenPicture(20000, 2);
  run(0, "1:2  B&W  Dotted  Grey  Width-1600", " width=1600 ");
  EXPECT_EQ(dialogs.calls.back().text, QStringLiteral("Overflow"));
}

TEST(PageGuardTest, EstimatesEachFamilysBytesAndOffersNoWidthWhenNoneFits) {
  for (const auto& [options, bytes] : {std::pair{EncodeOptions{}, 55'027'500LL},
                                       {EncodeOptions{.HighQuality = 0}, 25'012'500LL},
                                       {EncodeOptions{.BW = -1}, 4'002'000LL}}) {
    const PageGuard guard = GuardPage({0, 0, 4002, 1000}, options, 0).value();  // 2001 x 500 cells
    EXPECT_EQ(std::tuple(guard.cells, guard.approximateBytes, guard.scaledWidth),
              std::tuple(1'000'500LL, bytes, 1600));
  }
  // Still 200 x 6000 cells at a page width of 400.
  const PageGuard tall = GuardPage({0, 0, 1000, 30000}, EncodeOptions{.Ratio = 1}, 0).value();
  EXPECT_EQ(tall.Text(),
            "This page would have 30,000,000 cells, about 750 MB. The result window shows it, "
            "but a browser opening the saved page holds it whole and shows pages of up to about "
            "1,000,000 cells.\rEncode it at full size anyway?");
  EXPECT_EQ(tall.Choices(), QStringList({"Full Size", "Cancel"}));
  EXPECT_EQ(std::tuple(tall.WidthFor(0, 0), tall.WidthFor(1, 0)),
            std::tuple(std::optional(0), std::optional<int>()));
  EXPECT_EQ(PageSummary(1, 2'499'999) + "; " + PageSummary(2, 499), "1 cell, 2 MB; 2 cells, 1 KB");
}

TEST(TilingTest, PlacesTheShownWindowsInTwipsAndRoundsToPixels) {
  // Odd twips: the right-hand window takes what is left.
  EXPECT_EQ(TilePlace(TileCommand::Vertically, ChildWindow::Picture, true, true, 6000, 4001),
            (TwipRect{0, 0, 3000, 4001}));
  EXPECT_EQ(TilePlace(TileCommand::Vertically, ChildWindow::Result, true, true, 6000, 4001),
            (TwipRect{3000, 0, 2999, 4001}));
  EXPECT_DOUBLE_EQ(ToTwips(400, 144), 4000);
  // Edges go to the nearest pixel, halves up.
  EXPECT_EQ(ToPixels({7.5, 0, 15, 22.4}, 96, 96), QRect(1, 0, 1, 1));
  EXPECT_EQ(ToPixels({0, 0, 1440, 720}, 144, 72), QRect(0, 0, 144, 36));
  // The first result window takes the largest strip beside the picture window that is large
  // enough, or is left where it is.
  EXPECT_EQ(PlaceBeside({300, 0, 600, 450}, {900, 600}), QRect(0, 0, 300, 600));
  EXPECT_EQ(PlaceBeside({0, 0, 660, 600}, {900, 600}), QRect(660, 0, 240, 600));    // just room
  EXPECT_EQ(PlaceBeside({300, 0, 300, 600}, {900, 600}), QRect(600, 0, 300, 600));  // right: tie
  EXPECT_EQ(PlaceBeside({100, 300, 800, 300}, {900, 600}), QRect(0, 0, 900, 300));
  EXPECT_EQ(PlaceBeside({-50, -50, 800, 500}, {900, 600}), std::nullopt);
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
      {[&] {
         EncodeAndWait();
         EXPECT_FALSE(ResultSubWindow()->geometry().intersects(PictureSubWindow()->geometry()));
       },
       "eeeeecr"},
      {[&] { Trigger("mnuPicture"); }, "eeeecep"},
      {[&] { Trigger("mnuRuvaDev"), Trigger("mnuRuvaDev"); }, "eeeeecr"},  // chosen again: kept
      {[&] { tile("mnuTileHorizontally"); }, "eeeeecr", {0, 0, w, top}, {0, top, w, h - top}},
      {[&] { ResultSubWindow()->close(); }, "e-eeehr"},  // it only hides
      {[&] { Trigger("mnuTileVertically"); }, "e-eeehr", {0, 0, w, h}},
      {[&] { EncodeAndWait(); }, "eeeeecr", {}, {0, top, w, h - top}},  // where it was put
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
  EXPECT_TRUE(result.isNull());
  EXPECT_TRUE(dialogs.warnings.empty());
}

}  // namespace
}  // namespace stipplor::testing
