// The result window: each run's page in the view, the view's failures, "&Save As ...", and a
// Pixel Font page drawn as its characters describe.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <filesystem>
#include <regex>
#include <utility>

#include "picture_io/file_names.h"
#include "result_window/result_zoom.h"
#include "tests/support/gui/app_fixture.h"

namespace stipplor::testing {
namespace {

using ResultWindowTest = AppFixture;

// The raster a Pixel Font page's characters describe: per character a column of two pixels, "I"
// inked in both, "." in the lower, "'" in the upper, a blank in neither; ink in the font colour,
// the rest in the cell's background.
QImage DescribedRaster(const std::string& page, QSize size) {
  QImage raster(size, QImage::Format_RGB32);
  raster.fill(Qt::magenta);  // a pixel no character describes, which no page draws
  const auto colour = [](const std::string& tag) {
    return QColor(QString::fromStdString(tag.substr(tag.find('#'), 7))).rgb();
  };
  QRgb paper = 0, ink = 0;
  int x = 0, y = -2;
  const std::regex token("<[^>]*>|&nbsp;|.");
  for (std::sregex_iterator t(page.begin() + page.find("<tr>"), page.end(), token), end; t != end;
       ++t) {
    const std::string s = t->str();
    if (s == "<tr>") x = 0, y += 2;
    if (s.starts_with("<td")) paper = colour(s);
    if (s.starts_with("<font")) ink = colour(s);
    if (s[0] != '<') {
      raster.setPixel(x, y, s == "I" || s == "'" ? ink : paper);
      raster.setPixel(x++, y + 1, s == "I" || s == "." ? ink : paper);
    }
  }
  return raster;
}

// The grab of the view once the rows it asked for are drawn and three grabs 100 ms apart agree.
QImage SettledGrab(QWebEngineView& view) {
  QImage previous, grab;
  int equal = 0;
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        QTest::qWait(100);
        bool idle = false, answered = false;
        view.page()->runJavaScript("!window.stipplorView || stipplorView.drawn()",
                                   [&](const QVariant& v) { idle = v.toBool(), answered = true; });
        if (!QTest::qWaitFor([&] { return answered; }, 5000) || !idle) return false;
        grab = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        equal = std::exchange(previous, grab) == grab ? equal + 1 : 0;
        return equal == 2;
      },
      30000));
  return grab;
}

// The view, which draws the rows in sight in a box of the page's size, draws them as described.
TEST_F(ResultWindowTest, DrawsAPixelFontPageAsItsCharactersDescribe) {
  Open(STIPPLOR_SOURCE_DIR "/samples/chelsea.bmp");  // 451 x 300: 150 x 100 cells at 3:2
  Trigger("mnuSize3");
  Trigger("mnuPixelFont");
  EncodeAndWait();
  QWebEngineView* view = form->ResultWindow()->WebBrowser1;
  // An even width centres the page on whole pixels.
  ResultSubWindow()->resize(QSize(400, 300) + ResultSubWindow()->size() - view->size());
  const QImage grab = SettledGrab(*view);
  QVariant at;
  view->page()->runJavaScript(
      "(r => [r.left, r.top])(document.getElementById('rows').getBoundingClientRect())",
      [&at](const QVariant& box) { at = box; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return at.isValid(); }, 20000));
  const QPoint corner(at.toList().at(0).toInt(), at.toList().at(1).toInt());
  const QImage described =
      DescribedRaster(form->ResultWindow()->ShownDocument().Text(), QSize(300, 200));
  EXPECT_TRUE(grab.copy(QRect(corner, described.size())) == described)
      << "the view's pixels differ";

  // Ctrl with the wheel and the keys zoom the view in its steps, and the status bar says so.
  QWidget* input = view->focusProxy();
  QWheelEvent wheel({10, 10}, view->mapToGlobal(QPoint(10, 10)), {}, {0, 120}, Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(input, &wheel);
  EXPECT_EQ(view->zoomFactor(), 2.0);
  EXPECT_EQ(form->StatusPanel(kPanelResultZoom), QStringLiteral("Zoom 200%"));
  QTest::keyClick(input, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(form->StatusPanel(kPanelResultZoom), QString());
}

// The view draws only the rows near what is in sight, in pieces; wherever it is scrolled it shows
// what the same browser shows for the whole page there.
TEST_F(ResultWindowTest, ShowsThePixelsOfTheWholePageAtEveryPlace) {
  // A page of 640 x 426 pixels at 1:1, with runs of equal cells merged into wider ones.
  Open(STIPPLOR_SOURCE_DIR "/samples/rocket.gif");
  QWebEngineView* view = form->ResultWindow()->WebBrowser1;
  const struct {
    std::vector<const char*> items;  // from the start options
    double differing;                // at most this share of the pixels
  } cases[] = {
      // Arial's antialiasing may differ a little where a piece of a row starts.
      {{"mnuPixelFont"}, 0},          {{}, 0.01}, {{"mnuColoredLoQu"}, 0}, {{"mnuBW"}, 0.01},
      {{"mnuBW", "mnuPixelFont"}, 0},
  };
  for (const auto& c : cases) {
    for (const char* item : c.items) Trigger(item);
    EncodeAndWait();
    SCOPED_TRACE(form->ResultWindow()->windowTitle().toStdString());
    ResultSubWindow()->resize(QSize(300, 200) + ResultSubWindow()->size() - view->size());
    const QPoint places[] = {{0, 0}, {170, 110}, {0, 9999}, {9999, 60}};  // top, middle, the ends
    std::vector<QImage> shown;
    const auto grabAll = [&](std::vector<QImage>& grabs) {
      for (const QPoint place : places) {
        view->page()->runJavaScript(
            QStringLiteral("scrollTo(%1, %2)").arg(place.x()).arg(place.y()));
        grabs.push_back(SettledGrab(*view));
      }
    };
    grabAll(shown);
    const std::string page = folder / "whole.html";
    test::WriteFile(page, QByteArray::fromStdString(form->ResultWindow()->ShownDocument().Text()));
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    view->load(QUrl::fromLocalFile(QString::fromStdString(page)));
    ASSERT_TRUE(loaded.wait(20000));
    std::vector<QImage> whole;
    grabAll(whole);
    for (std::size_t i = 0; i < whole.size(); ++i) {
      int differ = 0;
      for (int y = 0; y < whole[i].height(); ++y) {
        for (int x = 0; x < whole[i].width(); ++x)
          differ += whole[i].pixel(x, y) != shown[i].pixel(x, y);
      }
      EXPECT_LE(differ, c.differing * whole[i].width() * whole[i].height()) << "at place " << i;
    }
    for (const char* item : c.items) Trigger(item);
  }
}

TEST_F(ResultWindowTest, ShowsEachRunsPageAndWhatWentWrongAndSavesIt) {
  auto* bar = form->findChild<QProgressBar*>("LoadProgress");
  QWebEngineView* view = form->ResultWindow()->WebBrowser1;
  int steps = 0;  // of the loads, while the bar shows
  QObject::connect(view, &QWebEngineView::loadProgress, bar, [&] { steps += bar->isVisible(); });
  // A page of 250,000 cells loads for a while; the next run's page replaces it quietly.
  OpenPicture(1000, 1000);
  Trigger("mnuEncode");
  const std::string whole = folder / "whole.html";  // a page that loads for a while
  test::WriteFile(whole, QByteArray::fromStdString(form->ResultWindow()->ShownDocument().Text()));
  Trigger("mnuBW");
  QSignalSpy loaded(view, &QWebEngineView::loadFinished);
  Trigger("mnuEncode");
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !loaded.isEmpty() && loaded.last().at(0).toBool(); }, 20000));
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_GT(steps, 0);
  EXPECT_FALSE(bar->isVisible());
  // The browser process ends, killed or crashed while it loads: the window says why, once, and
  // the page stays saveable.
  TextForm* result = form->ResultWindow();
  for (const auto& [signal, cause] :
       {std::pair{SIGKILL, "drawing the page was killed"}, {SIGSEGV, "drawing the page crashed"}}) {
    dialogs.warnings.clear();
    result->WebBrowser1->load(QUrl::fromLocalFile(QString::fromStdString(whole)));
    QTest::qWait(300);
    ::kill(static_cast<pid_t>(result->WebBrowser1->page()->renderProcessPid()), signal);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.warnings.empty(); }, 20000));
    QTest::qWait(1000);
    ASSERT_EQ(dialogs.warnings.size(), 1U);
    EXPECT_TRUE(dialogs.warnings.front().contains(cause)) << dialogs.warnings.front().toStdString();
    EXPECT_EQ(result->FailureMessage->text(), dialogs.warnings.front());
    EXPECT_FALSE(result->WebBrowser1->isVisible());
  }
  SaveAs(Path("kept.html"));
  EncodeAndWait();  // the same page, shown again
  EXPECT_TRUE(result->WebBrowser1->isVisible());
  SaveAs(Path("again.html"));
  EXPECT_EQ(test::ReadFile(folder / "kept.html"), test::ReadFile(folder / "again.html"));
  // A process that ends normally, and a failed page already replaced by the next, are no failure.
  emit result->WebBrowser1->page()->renderProcessTerminated(QWebEnginePage::NormalTerminationStatus,
                                                            0);
  result->WebBrowser1->load(QUrl::fromLocalFile(Path("gone.html")));
  EncodeAndWait();
  result->WebBrowser1->load(QUrl::fromLocalFile(Path("gone.html")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.warnings.size() == 2; }, 20000));
  EXPECT_TRUE(dialogs.warnings.back().startsWith("The page cannot be shown. Loading it failed: "));
  EXPECT_TRUE(result->FailureMessage->isVisible());

  // "&Save As ..." asks before replacing a file and keeps the old one when it fails.
  const QByteArray page = test::ReadFile(folder / "again.html");
  enum Before { kNone, kOld, kLink, kFolder, kFifo };  // what bears the name before
  const struct {
    std::string typed;  // empty: cancelled
    Before before;
    int answer;           // to the question whether to replace it
    std::string written;  // where the page is written; empty: nowhere
    bool fails = false;
    bool full = false;  // the disk is full after 100 bytes
  } cases[] = {
      {"pages/plain", kNone, 0, "pages/plain.html"},
      {"", kNone, 0, ""},
      {"old.html", kOld, 0, ""},
      {"old.html", kOld, 1, "old.html"},
      {"link.html", kLink, 0, ""},  // the name decides, not whether the file can be read
      {"adir.html", kFolder, 0, "", true},
      {"fifo.html", kFifo, 0, "", true},  // refused, without asking: writing it would wait
      {"old.html", kOld, 1, "", true, true},
      {"caf\xE9.htm", kNone, 0, "caf\xE9.htm"},
  };
  std::filesystem::create_directory(folder / "pages");
  QString proposed = Path("p.html");  // the picture's name, in the folder saved to last
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the size limit fails instead of ending the test
  rlimit unlimited{};
  ::getrlimit(RLIMIT_FSIZE, &unlimited);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::string target = folder / c.typed;
    if (c.before == kOld) test::WriteFile(target, "old");
    if (c.before == kLink) std::filesystem::create_symlink(folder / "nowhere", target);
    if (c.before == kFolder) std::filesystem::create_directory(target);
    if (c.before == kFifo) ::mkfifo(target.c_str(), 0600);
    const QString path = c.typed.empty() ? QString() : FileNameFromBytes(target);
    const QString caption = form->ResultWindow()->windowTitle();
    dialogs.calls.clear();
    dialogs.answers = {c.answer};
    rlimit limit = unlimited;
    limit.rlim_cur = c.full ? 100 : limit.rlim_cur;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    SaveAs(path);
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_EQ(dialogs.calls.front().fileName, proposed);
    if (!path.isEmpty()) proposed = QFileInfo(path).absolutePath() + "/p.html";
    const bool asked = c.before == kOld || c.before == kLink;
    ASSERT_EQ(dialogs.calls.size(), 1U + (asked ? 1 : 0) + (c.fails ? 1 : 0));
    EXPECT_TRUE(!asked ||
                dialogs.calls[1].text ==
                    ReadableFileName(path) + " already exists.\rDo you want to overwrite it?");
    EXPECT_TRUE(c.before != kFifo || dialogs.calls.back().text.contains("not a regular file"));
    const std::string saved = c.written.empty() ? target : folder / c.written;
    EXPECT_EQ(form->ResultWindow()->windowTitle(),
              c.written.empty() ? caption : ReadableFileName(FileNameFromBytes(saved)));
    if (c.before == kOld || !c.written.empty()) {
      EXPECT_EQ(test::ReadFile(saved), c.written.empty() ? "old" : page);
    }
  }
  // No half-written file is left beside the kept ones.
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"adir.html", "again.html", "caf\xE9.htm",
                                                      "fifo.html", "kept.html", "link.html",
                                                      "old.html", "p.bmp", "pages", "whole.html"}));
}

// Ctrl with the wheel, "+", "-" and "0" move through the steps, and stop at their ends.
TEST(ResultZoom, StepsThroughItsStepsAndStopsAtTheEnds) {
  const struct {
    std::vector<int> wheel;  // turns of the wheel
    int percent;
    const char* status;
  } cases[] = {
      {{120}, 200, "Zoom 200%"},
      {{60, 59}, 100, ""},  // not yet a notch
      {{60, 60}, 200, "Zoom 200%"},
      {{60, -60, 60}, 100, ""},  // a turn back drops the part turned
      {{360, 120}, 800, "Zoom 800%"},
      {{-120, -120, -120}, 25, "Zoom 25%"},
  };
  for (const auto& c : cases) {
    ResultZoom zoom;
    for (const int turn : c.wheel) zoom.Wheel(turn);
    EXPECT_EQ(zoom.Percent(), c.percent);
    EXPECT_EQ(zoom.StatusText().toStdString(), c.status);
    EXPECT_DOUBLE_EQ(zoom.ViewFactor() * zoom.PageFactor() * 100, c.percent);
    EXPECT_LE(zoom.ViewFactor(), 5.0);  // the browser's largest
  }
}

}  // namespace
}  // namespace stipplor::testing
