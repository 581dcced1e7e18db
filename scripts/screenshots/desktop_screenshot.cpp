// desktop_screenshot PICTURE PNG [--select X0,Y0,X1,Y1] [MENU_ITEM ...]
//
// The picture of the desktop program in the README: the main window with PICTURE open, a
// selection drawn over it with the mouse, the options chosen by their menu items ("mnuBW",
// "mnuBWPattern", ...), "Encode!" run, the windows tiled, and the result window showing the page
// once its view has painted it. The main window's own grab is saved to PNG. Meant to run in a
// real window under xvfb-run; each step goes through the same events and menu items a user's do.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <array>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <utility>

#include "frame/dialogs.h"
#include "shell/mdi_pic_form.h"
#include "tests/support/gui/web_engine_setup.h"

namespace {

constexpr int kTimeoutMs = 60000;

// Lets the program run for `ms` milliseconds.
void Pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

template <typename Done>
void WaitUntil(Done done, const char* what) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > kTimeoutMs) throw std::runtime_error(what);
    Pause(50);
  }
}

void Trigger(stipplor::MDIPicForm& form, const QString& name) {
  auto* action = form.findChild<QAction*>(name);
  if (action == nullptr) throw std::runtime_error("no menu item " + name.toStdString());
  action->trigger();
}

void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
  Pause(20);
}

// A left-button drag over the picture panel from `from` to `to`, in picture pixels.
void DrawSelection(stipplor::MDIPicForm& form, QPoint from, QPoint to) {
  auto* pic = form.PictureWindow()->findChild<QWidget*>(QStringLiteral("Pic"));
  if (pic == nullptr) throw std::runtime_error("the picture window has no picture panel");
  Mouse(*pic, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  for (int step = 1; step <= 8; ++step) {
    Mouse(*pic, QEvent::MouseMove, from + (to - from) * step / 8, Qt::NoButton, Qt::LeftButton);
  }
  Mouse(*pic, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// "Encode!", then the result window's view has loaded the page.
void Encode(stipplor::MDIPicForm& form) {
  std::optional<bool> loaded;
  QObject::connect(form.ResultWindow()->WebBrowser1, &QWebEngineView::loadFinished,
                   [&loaded](bool ok) { loaded = ok; });
  Trigger(form, QStringLiteral("mnuEncode"));
  WaitUntil([&loaded] { return loaded.has_value(); }, "the result window did not load the page");
  if (!*loaded) throw std::runtime_error("the result window failed to load the page");
}

// Whether the view has drawn the rows in sight at its present size (it draws in steps, and
// again after tiling resized it).
bool RowsDrawn(QWebEngineView& view) {
  std::optional<bool> drawn;
  view.page()->runJavaScript(QStringLiteral("!!window.stipplorView && stipplorView.drawn()"),
                             [&drawn](const QVariant& v) { drawn = v.toBool(); });
  WaitUntil([&drawn] { return drawn.has_value(); }, "the page did not answer");
  return *drawn;
}

// The window's grab once the view has drawn the rows in sight and two grabs half a second apart
// are equal.
QImage SettledGrab(QWidget& window, QWebEngineView& view) {
  QImage previous;
  QImage grab;
  WaitUntil(
      [&] {
        Pause(500);
        if (!RowsDrawn(view)) return false;
        grab = window.grab().toImage();
        return std::exchange(previous, grab) == grab;
      },
      "the view did not settle on the rows in sight");
  return grab;
}

std::optional<std::pair<QPoint, QPoint>> ParseBox(const QString& text) {
  const QStringList parts = text.split(u',');
  if (parts.size() != 4) return std::nullopt;
  std::array<int, 4> v{};
  for (std::size_t i = 0; i < v.size(); ++i) {
    bool ok = false;
    v[i] = parts[static_cast<qsizetype>(i)].toInt(&ok);
    if (!ok) return std::nullopt;
  }
  return std::pair{QPoint(v[0], v[1]), QPoint(v[2], v[3])};
}

int Usage() {
  std::fputs("usage: desktop_screenshot PICTURE PNG [--select X0,Y0,X1,Y1] [MENU_ITEM ...]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  stipplor::PrepareWebEngineForTools();
  QApplication app(argc, argv);
  QApplication::setApplicationName(stipplor::kAppTitle);

  QStringList args = QApplication::arguments().mid(1);
  if (args.size() < 2) return Usage();
  const QString picture = args.takeFirst();
  const QString png = args.takeFirst();
  std::optional<std::pair<QPoint, QPoint>> selection;
  if (args.size() >= 2 && args.front() == QStringLiteral("--select")) {
    args.removeFirst();
    selection = ParseBox(args.takeFirst());
    if (!selection) return Usage();
  }

  try {
    stipplor::QtDialogs dialogs;
    stipplor::MDIPicForm form(dialogs);
    form.show();
    Pause(500);
    form.LoadPicFile(picture);
    if (form.PictureWindow() == nullptr) throw std::runtime_error("the picture did not open");
    Pause(300);
    for (const QString& item : args) Trigger(form, item);
    if (selection) DrawSelection(form, selection->first, selection->second);
    Encode(form);
    Trigger(form, QStringLiteral("mnuTileVertically"));
    if (!SettledGrab(form, *form.ResultWindow()->WebBrowser1).save(png, "PNG")) {
      throw std::runtime_error("cannot write " + png.toStdString());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "desktop_screenshot: %s\n", error.what());
    return 1;
  }
  return 0;
}
