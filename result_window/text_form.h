#pragma once

#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "engine/html_document.h"

class QLabel;
class QStackedLayout;
class QWebEngineView;

namespace stipplor {

class Dialogs;
class MainFrame;

// The result window: its whole client area is the HTML view WebBrowser1 showing the document of
// the last run. It is the content of a subwindow of the main window's MDI area. Closing it only
// hides it while CanUnloadMe is false, so that the next run writes into the same window.
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

 private:
  class RunSink;
  void Present(HtmlDocument document);
  void ViewFailed(const QString& cause);

  MainFrame& frame_;
  Dialogs& dialogs_;
  HtmlDocument shown_;
  QString savedFile_;
  std::unique_ptr<RunSink> run_;
  // The view reads the document from a file here: documents of tens of megabytes are too
  // large to hand over in memory. The folder goes with the window.
  QTemporaryDir folder_;
  int shownCount_ = 0;
  QStackedLayout* pane_;
};

}  // namespace stipplor
