#pragma once

#include <QWebEngineUrlSchemeHandler>
#include <functional>

#include "result_window/document_rows.h"

namespace stipplor {

// The result view's own scheme. It is registered before the application object exists.
inline constexpr char kResultViewScheme[] = "stipplor-view";
void RegisterResultViewScheme();

// Serves the result view's small page of our own and the rows it asks for, from the document the
// program holds: "stipplor-view://rN/" is the page of the N-th shown document, with the whole
// page's extent and head; "rN/view.js" its script; "rN/rows?from=I&to=J" the markup of rows
// I..J-1, one line each. A request for any other than the shown document fails.
class ResultViewScheme : public QWebEngineUrlSchemeHandler {
 public:
  // `shown` answers the number of the shown document and its rows.
  using Shown = std::function<std::pair<int, const DocumentRows*>()>;
  ResultViewScheme(Shown shown, QObject* parent);

  static QUrl PageUrl(int number);
  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  Shown shown_;
};

}  // namespace stipplor
