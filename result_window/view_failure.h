#pragma once

#include <QString>
#include <QWebEnginePage>
#include <functional>

class QWebEngineView;

namespace stipplor {

// What the result window says when its view ends up without the page: the browser process that
// draws it ended (out of memory, crashed, killed), or loading the page failed.
QString RenderEndCause(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
QString ViewFailureText(const QString& cause);

// Calls `failed` with the cause whenever the view's browser process ends abnormally or a load of
// the page it was asked for fails. A load stopped for the next one is no failure.
void WatchViewFailures(QWebEngineView* view,
                       const std::function<void(const QString& cause)>& failed);

}  // namespace stipplor
