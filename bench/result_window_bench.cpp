// The desktop program end to end, offscreen: the time from "Encode!" to the rows in sight of the
// result window drawn, the time a jump to the page's bottom takes to be drawn, the peak memory of
// the program and of the view's browser process, and the document's bytes a cell, for
// photographs of 0.3, 2 and 12 megapixels at the start options and at page widths 800 and 1600.
// Usage: result_window_bench (with QT_QPA_PLATFORM=offscreen); each case runs as
// result_window_bench WIDTH HEIGHT PAGE_WIDTH.

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>

#include "bench/bench_picture.h"
#include "engine/page_width.h"
#include "frame/dialogs.h"
#include "picture_io/packed_pixels.h"
#include "shell/mdi_pic_form.h"
#include "tests/support/gui/web_engine_setup.h"

namespace stipplor {
namespace {

// Every question answered with "Full Size": the bench measures the page asked for.
class FullSizeDialogs : public Dialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&) override { return {}; }
  QString SaveFile(QWidget*, const QString&, const QString&) override { return {}; }
  void Warning(QWidget*, const QString&, const QString& text) override {
    std::fprintf(stderr, "warning: %s\n", qPrintable(text));
  }
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
  int Choose(QWidget*, const QString&, const QString&, const QStringList& choices) override {
    return static_cast<int>(choices.size()) - 2;
  }
};

// Peak resident memory of a process in MB since it was last reset, and the reset.
long PeakMb(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toLong() / 1024;
  }
  return -1;
}
void ResetPeak(qint64 pid) {
  QFile refs(QStringLiteral("/proc/%1/clear_refs").arg(pid));
  if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

// Whether the view has drawn the rows it asked for; a view that draws the whole page has once it
// is laid out (its height asks for that).
bool Drawn(QWebEngineView* view, const QString& also = QStringLiteral("true")) {
  QEventLoop loop;
  bool drawn = false;
  view->page()->runJavaScript(
      QStringLiteral("document.body.scrollHeight > 0 && (!window.stipplorView || "
                     "stipplorView.drawn()) && ") +
          also,
      [&](const QVariant& answer) {
        drawn = answer.toBool();
        loop.quit();
      });
  loop.exec();
  return drawn;
}

// Waits for the view's load, then until it has drawn what it shows.
bool WaitForPaintedPage(QWebEngineView* view, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  QEventLoop loop;
  bool loaded = false;
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool ok) {
    loaded = ok;
    loop.quit();
  });
  loop.exec();
  while (loaded && !Drawn(view)) {
    if (timer.elapsed() > timeoutMs) return false;
  }
  return loaded;
}

// The time from a jump to the page's bottom to its rows drawn, in ms.
qint64 JumpToBottom(QWebEngineView* view) {
  QElapsedTimer timer;
  timer.start();
  view->page()->runJavaScript(QStringLiteral("scrollTo(0, document.body.scrollHeight)"));
  QCoreApplication::processEvents();
  while (!Drawn(view, QStringLiteral("scrollY + innerHeight >= document.body.scrollHeight - 1"))) {
  }
  return timer.elapsed();
}

QString PictureName(int width, int height) {
  return QStringLiteral("%1 x %2 (%3 MP)")
      .arg(width)
      .arg(height)
      .arg(width * height / 1e6, 0, 'f', 1);
}

QString WidthName(int pageWidth) {
  return pageWidth == 0 ? QStringLiteral("as picture") : QString::number(pageWidth);
}

// One case in a program of its own, so that each browser process starts fresh and its peak is
// this page's alone.
int RunCase(int argc, char** argv, int width, int height, int pageWidth) {
  PrepareWebEngineForTools();
  QApplication app(argc, argv);
  FullSizeDialogs dialogs;
  MDIPicForm form(dialogs);
  form.show();
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("photo.jpg"));
  ToQImage(TiledSample(width, height)).save(path, "JPEG", 90);
  form.LoadPicFile(path);
  const auto action = [&form](const QString& name) { return form.findChild<QAction*>(name); };
  action(pageWidth == 0 ? QStringLiteral("mnuPageWidthPicture")
                        : QStringLiteral("mnuPageWidth%1").arg(pageWidth))
      ->trigger();
  QWebEngineView* view = form.ResultWindow()->WebBrowser1;
  ResetPeak(getpid());
  QElapsedTimer timer;
  timer.start();
  action(QStringLiteral("mnuEncode"))->trigger();
  const qint64 run = timer.elapsed();  // the run and its document handed to the view
  const bool painted = WaitForPaintedPage(view, 300'000);
  const qint64 ms = timer.elapsed();
  const qint64 jump = painted ? JumpToBottom(view) : -1;
  const long long cells = PageCells(width, height, 2, pageWidth);
  const auto bytes = static_cast<double>(form.ResultWindow()->ShownDocument().Text().size());
  std::printf("%-22s %-11s %9lld %8.1f %10lld ms %13lld ms %10lld ms %12ld %12ld %10.1f%s\n",
              qPrintable(PictureName(width, height)), qPrintable(WidthName(pageWidth)), cells,
              bytes / 1e6, run, ms, jump, PeakMb(getpid()),
              PeakMb(view->page()->renderProcessPid()), bytes / static_cast<double>(cells),
              painted ? "" : "  (not painted)");
  return 0;
}

int Run(int argc, char** argv) {
  if (argc == 4) {
    return RunCase(argc, argv, std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]));
  }
  std::printf("%-22s %-11s %9s %8s %13s %16s %13s %12s %12s %10s\n", "picture", "page width",
              "cells", "page MB", "run", "Encode! to rows", "to bottom", "program MB", "view MB",
              "page B/cell");
  std::fflush(stdout);
  struct Size {
    int width, height;
  };
  for (const Size size : {Size{640, 480}, Size{1600, 1200}, Size{4000, 3000}}) {
    for (const int pageWidth : {0, 1600, 800}) {
      QProcess::execute(
          QString::fromLocal8Bit(argv[0]),
          {QString::number(size.width), QString::number(size.height), QString::number(pageWidth)});
    }
  }
  return 0;
}

}  // namespace
}  // namespace stipplor

int main(int argc, char** argv) { return stipplor::Run(argc, argv); }
