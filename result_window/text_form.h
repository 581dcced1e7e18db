#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "engine/html_document.h"
#include "result_window/document_rows.h"
#include "result_window/result_zoom.h"

class QLabel;
class QStackedLayout;
class QWebEngineProfile;
class QWebEngineView;

namespace stipplor {

class Dialogs;
class MainFrame;

// The result window: its whole client area is the HTML view WebBrowser1 showing the document of
// the last run. The view holds a small page of our own with the whole page's extent and draws
// only the rows near what is in sight, which it asks of the document held here; Ctrl with the
// wheel, "+", "-" and "0" zoom it. It is the content of a subwindow of the main window's MDI
// area. Closing it only hides it while CanUnloadMe is false, so that the next run writes into
// the same window.
class TextForm : public QWidget {
 public:
  TextForm(MainFrame& frame, Dialogs& dialogs, QWidget* parent = nullptr);
  ~TextForm() override;

  // Set by the main window when the application quits: closing then really closes.
  bool CanUnloadMe = false;

  // Where a run writes its document. Each run begins a new document; when the run ends it,
  // it replaces the shown one. A run that stops before its end leaves the shown one in place.
  LineSink& Document();

  // The shown document, as the view renders it and as SaveAs writes it.
  const HtmlDocument& ShownDocument() const { return shown_; }
  // The shown page as a file holds it: what Save As writes and what is handed to other programs.
  std::string SavedPage() const { return SavedFileForm(shown_.BodyMarkup()); }

  // Writes the shown document's body to FileName in the saved-file form, asking first whether
  // an existing file may be replaced. Shows its own messages; reports nothing to the caller.
  void SaveAs(const QString& FileName);
  // The file SaveAs last wrote the shown document to; empty until then.
  const QString& SavedFile() const { return savedFile_; }

  // The window became the active child window.
  void Form_Activate();

  // The size the window opens with: room for a page of a typical picture.
  QSize sizeHint() const override { return {640, 480}; }

  QWebEngineView* WebBrowser1;
  // Shown instead of the view when the view cannot show the page (its browser process ended,
  // or the load failed).
  QLabel* FailureMessage;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class RunSink;
  void Present(HtmlDocument document);
  void ViewFailed(const QString& cause);
  void AddZoomKeys();
  void ApplyZoom();

  MainFrame& frame_;
  Dialogs& dialogs_;
  HtmlDocument shown_;
  QString savedFile_;
  DocumentRows rows_;  // where the rows of shown_ lie, for the view
  std::unique_ptr<RunSink> run_;
  int shownCount_ = 0;  // the number of the shown document, which names its page
  ResultZoom zoom_;
  QWebEngineProfile* profile_;  // the view's own, serving its page and rows
  QStackedLayout* pane_;
};

}  // namespace stipplor
