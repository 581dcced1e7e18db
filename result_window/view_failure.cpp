#include "result_window/view_failure.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace stipplor {

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
  QObject::connect(view->page(), &QWebEnginePage::renderProcessTerminated, view,
                   [failed](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                     if (status != QWebEnginePage::NormalTerminationStatus) {
                       failed(RenderEndCause(status, exitCode));
                     }
                   });
  QObject::connect(
      view->page(), &QWebEnginePage::loadingChanged, view,
      [view, failed](const QWebEngineLoadingInfo& info) {
        if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && info.url() == view->url()) {
          failed(QStringLiteral("Loading it failed: %1.").arg(info.errorString()));
        }
      });
}

}  // namespace stipplor
