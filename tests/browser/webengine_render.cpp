// QT_QPA_PLATFORM=offscreen webengine_render [--size WxH] [--script FILE] PAGE PNG [PAGE PNG ...]
//
// Renders pages in the desktop program's own result window, offscreen, for the browser tests
// that hold it against Chromium. Each PAGE (a generated document, "stipplor-encode --document")
// is handed to a TextForm line by line, as a run hands it over, so the window writes and loads
// it exactly as in the program; once the view has painted it, its grab is saved to PNG. With a
// script (a JavaScript expression), one JSON line per page is printed:
// {"page": PAGE, "result": the expression's value in the loaded page}.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <utility>

#include "frame/dialogs.h"
#include "frame/main_frame.h"
#include "result_window/text_form.h"
#include "tests/gui_support/web_engine_setup.h"

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

constexpr int kTimeoutMs = 30000;

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error(path.toStdString() + ": " + file.errorString().toStdString());
  }
  return file.readAll();
}

// Runs the event loop until `done` holds; false after the time-out.
template <typename Done>
bool WaitUntil(Done done, int timeoutMs = kTimeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// Hands the document's lines (each ended by CR LF) to the window as one run, and waits for the
// view to finish loading it.
void Show(stipplor::TextForm& form, const QByteArray& document) {
  std::optional<bool> loaded;
  const auto connection = QObject::connect(form.WebBrowser1, &QWebEngineView::loadFinished,
                                           [&loaded](bool ok) { loaded = ok; });
  stipplor::LineSink& sink = form.Document();
  sink.Begin();
  const QByteArrayList lines = document.split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QByteArray line = lines[i];
    if (line.endsWith('\r')) line.chop(1);
    // The text after the last line break is a line only when it is not empty.
    if (i + 1 == lines.size() && line.isEmpty()) break;
    sink.AppendLine(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
  }
  sink.End();
  const bool finished = WaitUntil([&loaded] { return loaded.has_value(); });
  QObject::disconnect(connection);
  if (!finished || !*loaded) throw std::runtime_error("the view did not load the document");
}

QJsonValue Evaluate(QWebEngineView& view, const QString& script) {
  std::optional<QVariant> value;
  view.page()->runJavaScript(script, [&value](const QVariant& result) { value = result; });
  if (!WaitUntil([&value] { return value.has_value(); })) {
    throw std::runtime_error("the script did not answer");
  }
  return QJsonValue::fromVariant(*value);
}

// The view paints a loaded page in steps, the first of them before the layout of a long page is
// done: its grab once the layout is done (asking the page for its height waits for it) and five
// grabs 200 ms apart are equal.
QImage PaintedGrab(QWebEngineView& view) {
  Evaluate(view, QStringLiteral("document.body.getBoundingClientRect().height"));
  QImage previous = view.grab().toImage();
  QImage grab;
  int equal = 0;
  const bool settled = WaitUntil([&] {
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    grab = view.grab().toImage();
    equal = std::exchange(previous, grab) == grab ? equal + 1 : 0;
    return equal == 4;
  });
  if (!settled) throw std::runtime_error("the view kept changing its painting");
  return grab;
}

int Usage() {
  std::fputs("usage: webengine_render [--size WxH] [--script FILE] PAGE PNG [PAGE PNG ...]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Run offscreen (QT_QPA_PLATFORM=offscreen).
  stipplor::PrepareWebEngineForTools();
  QApplication app(argc, argv);

  QStringList args = QApplication::arguments().mid(1);
  QSize size(800, 600);
  QString script;
  try {
    while (!args.isEmpty() && args.front().startsWith(QStringLiteral("--"))) {
      const QString option = args.takeFirst();
      if (args.isEmpty()) return Usage();
      const QString value = args.takeFirst();
      if (option == QStringLiteral("--size")) {
        const QStringList parts = value.split(u'x');
        if (parts.size() != 2) return Usage();
        size = QSize(parts[0].toInt(), parts[1].toInt());
        if (size.isEmpty()) return Usage();
      } else if (option == QStringLiteral("--script")) {
        script = QString::fromUtf8(ReadFile(value));
      } else {
        return Usage();
      }
    }
    if (args.isEmpty() || args.size() % 2 != 0) return Usage();

    NoFrame frame;
    stipplor::QtDialogs dialogs;
    stipplor::TextForm form(frame, dialogs);
    form.resize(size);
    form.show();
    for (qsizetype i = 0; i < args.size(); i += 2) {
      Show(form, ReadFile(args[i]));
      const QImage grab = PaintedGrab(*form.WebBrowser1);
      if (!grab.save(args[i + 1], "PNG")) {
        throw std::runtime_error("cannot write " + args[i + 1].toStdString());
      }
      if (script.isEmpty()) continue;
      const QJsonObject line{{QStringLiteral("page"), args[i]},
                             {QStringLiteral("result"), Evaluate(*form.WebBrowser1, script)}};
      std::fputs(QJsonDocument(line).toJson(QJsonDocument::Compact).append('\n').constData(),
                 stdout);
      std::fflush(stdout);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "webengine_render: %s\n", error.what());
    return 1;
  }
  return 0;
}
