// QT_QPA_PLATFORM=offscreen webengine_render --size WxH PAGE PNG [PAGE PNG ...]
//
// Renders pages in the desktop program's own result window, offscreen, for the browser tests
// that hold it against Chromium. Each PAGE (a generated document, "stipplor-encode --document")
// is handed to a TextForm line by line, as a run hands it over, so the window writes and loads
// it exactly as in the program; once the view has painted it, its grab is saved to PNG.

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "frame/dialogs.h"
#include "frame/main_frame.h"
#include "result_window/text_form.h"
#include "tests/support/gui/web_engine_setup.h"
#include "tests/support/test_files.h"

namespace {

using stipplor::MenuItem;

// The result window alone, without the main window's menus and status bar.
class NoFrame : public stipplor::MainFrame {
 public:
  void SetStatusPanel(int /*panel*/, const QString& /*text*/) override {}
  void SetMenuEnabled(MenuItem /*item*/, bool /*enabled*/) override {}
  void SetMenuVisible(MenuItem /*item*/, bool /*visible*/) override {}
  void SetMenuChecked(MenuItem /*item*/, bool /*checked*/) override {}
  bool MenuVisible(MenuItem /*item*/) const override { return false; }
};

// Hands the document's lines (each ended by CR LF) to the window as one run, and waits for the
// view to finish loading it.
void Show(stipplor::TextForm& form, const QByteArray& document) {
  if (document.isEmpty()) throw std::runtime_error("no document");
  QSignalSpy loaded(form.WebBrowser1, &QWebEngineView::loadFinished);
  stipplor::LineSink& sink = form.Document();
  sink.Begin();
  for (qsizetype at = 0, end; (end = document.indexOf("\r\n", at)) >= 0; at = end + 2) {
    sink.AppendLine(
        std::string_view(document.constData() + at, static_cast<std::size_t>(end - at)));
  }
  sink.End();
  if (!loaded.wait(20000)) throw std::runtime_error("the view did not load the document");
}

// The view paints a loaded page in steps, the first of them before the layout of a long page is
// done: its grab once the layout is done (a script asking the page for its height waits for it)
// and five grabs 200 ms apart are equal.
QImage PaintedGrab(QWebEngineView& view) {
  bool laidOut = false;
  view.page()->runJavaScript(QStringLiteral("document.body.getBoundingClientRect().height"),
                             [&laidOut](const QVariant&) { laidOut = true; });
  if (!QTest::qWaitFor([&laidOut] { return laidOut; }, 30000))
    throw std::runtime_error("no layout");
  QImage previous = view.grab().toImage();
  QImage grab;
  int equal = 0;
  const bool settled = QTest::qWaitFor(
      [&] {
        QTest::qWait(200);
        grab = view.grab().toImage();
        equal = std::exchange(previous, grab) == grab ? equal + 1 : 0;
        return equal == 4;
      },
      30000);
  if (!settled) throw std::runtime_error("the view kept changing its painting");
  return grab;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Run offscreen (QT_QPA_PLATFORM=offscreen).
  stipplor::PrepareWebEngineForTools();
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const QStringList size = args.value(2).split(u'x');
  if (args.size() < 5 || args.size() % 2 == 0 || args[1] != QStringLiteral("--size") ||
      size.size() != 2) {
    std::fputs("usage: webengine_render --size WxH PAGE PNG [PAGE PNG ...]\n", stderr);
    return 2;
  }
  try {
    NoFrame frame;
    stipplor::QtDialogs dialogs;
    stipplor::TextForm form(frame, dialogs);
    form.resize(size[0].toInt(), size[1].toInt());
    form.show();
    for (qsizetype i = 3; i < args.size(); i += 2) {
      Show(form, stipplor::test::ReadFile(args[i].toStdString()));
      if (!PaintedGrab(*form.WebBrowser1).save(args[i + 1], "PNG")) {
        throw std::runtime_error("cannot write " + args[i + 1].toStdString());
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "webengine_render: %s\n", error.what());
    return 1;
  }
  return 0;
}
