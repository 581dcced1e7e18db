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

// Calls `failed` with the cause when the view's browser process ends abnormally or a load of the
// page it was asked for fails, once for each page: a failed load that the end of the process
// explains is told as that end. A normal end, and a page stopped or failed after a later one
// was asked for, are no failure.
void WatchViewFailures(QWebEngineView* view,
                       const std::function<void(const QString& cause)>& failed);

}  // namespace stipplor
