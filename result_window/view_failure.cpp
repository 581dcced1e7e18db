#include "result_window/view_failure.h"

#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>
#include <memory>

namespace stipplor {

namespace {

// A load that fails because its browser process ended is told of first, with no cause; the end
// of the process follows at once and says what happened.
constexpr int kWaitForProcessEndMs = 500;

// The cause of a failed load; never empty.
QString LoadFailureCause(const QString& errorString, int errorCode) {
  if (errorString.isEmpty()) return QStringLiteral("Loading it failed (error %1).").arg(errorCode);
  return QStringLiteral("Loading it failed: %1.").arg(errorString);
}

}  // namespace

QString RenderEndCause(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
  switch (status) {
    case QWebEnginePage::NormalTerminationStatus:
      break;
    case QWebEnginePage::AbnormalTerminationStatus:
      return QStringLiteral(
                 "The browser process drawing the page ended abnormally (exit code "
                 "%1); a page this large often runs it out of memory.")
          .arg(exitCode);
    case QWebEnginePage::CrashedTerminationStatus:
      return QStringLiteral(
          "The browser process drawing the page crashed; a page this large "
          "often runs it out of memory.");
    case QWebEnginePage::KilledTerminationStatus:
      return QStringLiteral(
          "The browser process drawing the page was killed; the system ends "
          "it when a page uses too much memory.");
  }
  return QStringLiteral("The browser process drawing the page ended.");
}

QString ViewFailureText(const QString& cause) {
  return QStringLiteral("The page cannot be shown. ") + cause +
         QStringLiteral(
             "\n\nTry a smaller size (\"2:1 ( Tiny )\") or a page width (Options, "
             "\"Page Width\"). The page itself is kept: \"Save As ...\" still "
             "writes it.");
}

void WatchViewFailures(QWebEngineView* view,
                       const std::function<void(const QString& cause)>& failed) {
  // Whether the page being shown was reported already: one report a page.
  auto reported = std::make_shared<bool>(false);
  const auto report = [reported, failed](const QString& cause) {
    if (std::exchange(*reported, true)) return;
    failed(cause);
  };
  QObject::connect(view->page(), &QWebEnginePage::renderProcessTerminated, view,
                   [report](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                     if (status != QWebEnginePage::NormalTerminationStatus) {
                       report(RenderEndCause(status, exitCode));
                     }
                   });
  QObject::connect(
      view->page(), &QWebEnginePage::loadingChanged, view,
      [view, reported, report](const QWebEngineLoadingInfo& info) {
        // A new page is reported anew; the view may not name it yet.
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) *reported = false;
        if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus || info.url() != view->url()) {
          return;
        }
        const QString cause = LoadFailureCause(info.errorString(), info.errorCode());
        const QUrl url = info.url();
        QTimer::singleShot(kWaitForProcessEndMs, view, [view, url, cause, report] {
          if (view->url() == url) report(cause);
        });
      });
}

}  // namespace stipplor
